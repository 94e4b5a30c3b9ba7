#pragma once

#include "Effects/Chaos/ChaosMode.h"
#include "Effects/Pet/PetMoment.h"
#include "Effects/Pet/PetMood.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

class Scheduler;

// Everything the pet's view draws, and the operations that change it when something happens
// to the pet. Each published property announces its own change and `changed()`.
class PetPresentation final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(PetMood mood READ mood NOTIFY moodChanged)
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
    Q_PROPERTY(bool isDialogueVisible READ isDialogueVisible WRITE setDialogueVisible NOTIFY isDialogueVisibleChanged)
    Q_PROPERTY(QString colorID READ colorID NOTIFY colorIDChanged)
    Q_PROPERTY(QString accessoryID READ accessoryID NOTIFY accessoryIDChanged)
    Q_PROPERTY(QString faceID READ faceID NOTIFY faceIDChanged)
    Q_PROPERTY(double facingDirection READ facingDirection NOTIFY facingDirectionChanged)
    Q_PROPERTY(bool isWalking READ isWalking WRITE setWalking NOTIFY isWalkingChanged)
    Q_PROPERTY(double lidProgress READ lidProgress WRITE setLidProgress NOTIFY lidProgressChanged)
    Q_PROPERTY(std::optional<PetMoment> moment READ moment NOTIFY momentChanged)
    Q_PROPERTY(std::optional<ChaosMode> physicsMode READ physicsMode NOTIFY physicsModeChanged)
    Q_PROPERTY(std::optional<int> focusRemainingSeconds READ focusRemainingSeconds NOTIFY focusRemainingSecondsChanged)
    Q_PROPERTY(bool focusIsPaused READ focusIsPaused NOTIFY focusIsPausedChanged)
    Q_PROPERTY(bool staysPut READ staysPut WRITE setStaysPut NOTIFY staysPutChanged)
    Q_PROPERTY(std::optional<QString> reactionLine READ reactionLine NOTIFY reactionLineChanged)

public:
    static constexpr const char *defaultMessage = "Ready when you are";

    explicit PetPresentation(Scheduler &scheduler, QObject *parent = nullptr);

    QString name() const { return m_name; }
    PetMood mood() const { return m_mood; }
    QString message() const { return m_message; }
    bool isDialogueVisible() const { return m_isDialogueVisible; }
    QString colorID() const { return m_colorID; }
    QString accessoryID() const { return m_accessoryID; }
    QString faceID() const { return m_faceID; }
    double facingDirection() const { return m_facingDirection; }
    bool isWalking() const { return m_isWalking; }
    double lidProgress() const { return m_lidProgress; }
    std::optional<PetMoment> moment() const { return m_moment; }
    std::optional<ChaosMode> physicsMode() const { return m_physicsMode; }
    std::optional<int> focusRemainingSeconds() const { return m_focusRemainingSeconds; }
    bool focusIsPaused() const { return m_focusIsPaused; }
    bool staysPut() const { return m_staysPut; }
    std::optional<QString> reactionLine() const { return m_reactionLine; }
    // "m:ss" of the focus countdown, minutes not wrapped into hours; none without one.
    std::optional<QString> focusTimeLabel() const;

    void setName(const QString &name);
    void setDialogueVisible(bool visible);
    void setWalking(bool walking);
    // Kept within 0...1; a value that is not a number counts as 0.
    void setLidProgress(double progress);
    void setStaysPut(bool staysPut);

    void update(PetMood mood, const QString &message);
    void showReaction(const QString &line, double durationSeconds);
    void petTapped();
    void cursorNudged();
    void dragged();
    void becomeBored();
    void rest();
    void stretch();
    void finishStretch();
    void setMovement(double horizontalDelta);
    void showMoment(PetMoment moment, double durationSeconds);
    void reset();
    void setAppearance(const QString &colorID, const QString &accessoryID, const QString &faceID);
    void setFocusRemainingSeconds(std::optional<int> seconds, bool paused);
    void setPhysicsMode(std::optional<ChaosMode> mode);

signals:
    void nameChanged();
    void moodChanged();
    void messageChanged();
    void isDialogueVisibleChanged();
    void colorIDChanged();
    void accessoryIDChanged();
    void faceIDChanged();
    void facingDirectionChanged();
    void isWalkingChanged();
    void lidProgressChanged();
    void momentChanged();
    void physicsModeChanged();
    void focusRemainingSecondsChanged();
    void focusIsPausedChanged();
    void staysPutChanged();
    void reactionLineChanged();
    void changed();

private:
    // Assigns and announces; `always` announces an unchanged value too.
    template <typename T>
    void publish(T &field, T value, void (PetPresentation::*signal)(), bool always = false);
    void setMood(PetMood mood);
    void setMessage(const QString &message);
    void setReactionLine(std::optional<QString> line);
    void setMoment(std::optional<PetMoment> moment);

    Scheduler &m_scheduler;
    QString m_name = QStringLiteral("Bloopy");
    PetMood m_mood = PetMood::idle;
    QString m_message = QString::fromUtf8(defaultMessage);
    bool m_isDialogueVisible = false;
    QString m_colorID = QStringLiteral("cream");
    QString m_accessoryID = QStringLiteral("none");
    QString m_faceID = QStringLiteral("happy");
    double m_facingDirection = 1;
    bool m_isWalking = false;
    double m_lidProgress = 0;
    std::optional<PetMoment> m_moment;
    std::optional<ChaosMode> m_physicsMode;
    std::optional<int> m_focusRemainingSeconds;
    bool m_focusIsPaused = false;
    bool m_staysPut = false;
    std::optional<QString> m_reactionLine;

    std::int64_t m_nudgeIndex = 0;
    std::int64_t m_reactionGeneration = 0;
    std::int64_t m_momentGeneration = 0;
};

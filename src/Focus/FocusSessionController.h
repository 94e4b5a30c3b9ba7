#pragma once

#include "Effects/Pet/PetMood.h"
#include "Focus/FocusAppOption.h"
#include "Focus/FocusSessionResult.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

class Clock;
class Scheduler;
class Workspace;

// Runs one timed focus session at a time: counts the planned minutes down with pauses taken
// out, and guards against drifting into applications outside the session's allowed set by
// nudging the pet at most once a minute.
class FocusSessionController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isActive READ isActive NOTIFY isActiveChanged)
    Q_PROPERTY(bool isPaused READ isPaused NOTIFY isPausedChanged)
    Q_PROPERTY(int remainingSeconds READ remainingSeconds NOTIFY remainingSecondsChanged)
    Q_PROPERTY(QString currentAppName READ currentAppName NOTIFY currentAppNameChanged)
    Q_PROPERTY(QString statusText READ statusText NOTIFY statusTextChanged)
    Q_PROPERTY(QList<FocusAppOption> availableApplications READ availableApplications NOTIFY
                   availableApplicationsChanged)
    Q_PROPERTY(std::optional<FocusAppOption> recentExternalApplication READ recentExternalApplication NOTIFY
                   recentExternalApplicationChanged)

public:
    using PetUpdate = std::function<void(PetMood mood, const QString &line)>;

    static constexpr std::chrono::milliseconds tickInterval{1000};
    static constexpr std::chrono::milliseconds nudgeInterval{60'000};
    static constexpr int minimumMinutes = 1;
    static constexpr int maximumMinutes = 180;

    // The workspace supplies the frontmost and running applications and this application's
    // own identifier, which is never guarded against and never offered.
    FocusSessionController(Workspace &workspace, const Clock &clock, Scheduler &scheduler, PetUpdate onPetUpdate,
                           QObject *parent = nullptr);
    ~FocusSessionController() override;

    bool isActive() const { return m_isActive; }
    bool isPaused() const { return m_isPaused; }
    int remainingSeconds() const { return m_remainingSeconds; }
    QString currentAppName() const { return m_currentAppName; }
    QString statusText() const { return m_statusText; }
    QList<FocusAppOption> availableApplications() const { return m_availableApplications; }
    std::optional<FocusAppOption> recentExternalApplication() const { return m_recentExternalApplication; }
    const QSet<QString> &allowedBundleIdentifiers() const { return m_allowedBundleIdentifiers; }
    bool nudgesEnabled() const { return m_nudgesEnabled; }

    std::function<void(const FocusSessionResult &)> onSessionEnded;

    // A session started while another runs ends that one first, as not completed.
    void start(const QString &goal, int durationMinutes, const QSet<QString> &allowedBundleIdentifiers,
               bool nudgesEnabled);
    void pause();
    void resume();
    void stop(bool completed);
    void updateGuard(const QSet<QString> &allowedBundleIdentifiers, bool nudgesEnabled);
    // The guard's decision for a newly activated application.
    void evaluate(const std::optional<QString> &bundleIdentifier, const QString &applicationName);
    // Recomputes the time left and completes the session when none is left.
    void refreshRemainingTime();

    // Asks the workspace, which may have to read every installed application first: done when
    // the Focus page or a break needs the list, never while the application starts.
    void refreshAvailableApplications();
    void rememberRecentlyActiveApplication(const std::optional<QString> &bundleIdentifier,
                                           const std::optional<QString> &name);
    // The allowed applications that are not running, with the best name known for each.
    QList<FocusAppOption> unavailableAllowedApplications(const QStringList &bundleIdentifiers);

signals:
    void changed();
    void isActiveChanged();
    void isPausedChanged();
    void remainingSecondsChanged();
    void currentAppNameChanged();
    void statusTextChanged();
    void availableApplicationsChanged();
    void recentExternalApplicationChanged();

private:
    template <typename T>
    void publish(T &field, T value, void (FocusSessionController::*notify)());
    void scheduleTick(quint64 generation);
    void tearDownResources();
    QSet<QString> withoutOwn(const QSet<QString> &identifiers) const;
    QString guardStatus() const;
    qint64 focusedSeconds(const QDateTime &reference) const;

    Workspace &m_workspace;
    const Clock &m_clock;
    Scheduler &m_scheduler;
    PetUpdate m_onPetUpdate;
    std::optional<QString> m_ownBundleIdentifier;

    bool m_isActive = false;
    bool m_isPaused = false;
    int m_remainingSeconds = 0;
    QString m_currentAppName;
    QString m_statusText;
    QList<FocusAppOption> m_availableApplications;
    std::optional<FocusAppOption> m_recentExternalApplication;

    QSet<QString> m_allowedBundleIdentifiers;
    bool m_nudgesEnabled = true;
    // Whether activations are heard; without them a session is a plain timer.
    bool m_watching = false;
    // Ticks of an ended session find a newer generation and do nothing.
    quint64 m_tickGeneration = 0;
    QString m_activeGoal;
    int m_plannedMinutes = 0;
    QDateTime m_startedAt;
    std::optional<QDateTime> m_pausedAt;
    qint64 m_totalPausedMs = 0;
    std::optional<QDateTime> m_lastNudgeAt;
};

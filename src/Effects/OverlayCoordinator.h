#pragma once

#include "Effects/ArrivalReactionEvent.h"
#include "Effects/ChargingVisualStyle.h"
#include "Effects/CursorRippleStyle.h"
#include "Effects/LidDanceStyle.h"
#include "Effects/LidMotionPresentation.h"
#include "Effects/SystemReactionEvent.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRect>

#include <functional>
#include <optional>

class LidMotionView;
class OverlayPanel;
class OverlayWindowSupport;
class Scheduler;
class SystemSoundPlayer;

// Shows the short-lived click-through panels of the effects on the screens they belong to:
// cursor ripples, the screenshot flash, system and arrival reaction cards, and the lid
// motion band. System and arrival reactions also play their system sound.
class OverlayCoordinator final : public QObject {
    Q_OBJECT

public:
    OverlayCoordinator(OverlayWindowSupport &support, Scheduler &scheduler, QObject *parent = nullptr);
    ~OverlayCoordinator() override;

    // Not owned; null plays nothing.
    void setSoundPlayer(SystemSoundPlayer *player) { m_soundPlayer = player; }

    // Closes every panel; delayed work of the panels closed here does nothing afterwards.
    void reset();
    quint64 generation() const { return m_generation; }

    // `at` is a global point, y up.
    void showCursorRipple(QPointF at, CursorRippleStyle style);
    void flashScreenshot();
    void showSystemReaction(const SystemReactionEvent &event, ChargingVisualStyle chargingStyle);
    void showArrival(const ArrivalReactionEvent &event);
    void updateLidMotion(double progress, double angle, LidDanceStyle style, bool visible);

    const LidMotionPresentation &lidMotion() const { return m_lidMotion; }
    // The panels on screen now.
    QList<OverlayPanel *> panels() const;

    // Where a card's visible part goes: where it prefers when that keeps the card inset's
    // distance from the window given (the typing HUD), else the nearest such place inside the
    // area inset alike; where it prefers when no place is clear. Qt global coordinates.
    static QRect cardPlace(const QRect &preferred, std::optional<QRect> keepClearOf, const QRect &area);
    // The frame of the window the cards keep clear of, none while it is hidden.
    std::function<std::optional<QRect>()> cardsKeepClearOf;

    static QString soundName(const SystemReactionEvent &event);
    static QString soundName(const ArrivalReactionEvent &event);

private:
    bool blendsTranslucent() const;
    // A card window's geometry moved so its card keeps clear of the HUD.
    QRect clearOfTheHud(const QRect &geometry, const QRect &area) const;
    void presentTransient(OverlayPanel *panel, const QRect &geometry, double lifetimeSeconds);
    void replaceCard(QPointer<OverlayPanel> &slot, OverlayPanel *card, const QRect &geometry, double lifetimeSeconds);
    void closePanel(OverlayPanel *panel);
    void closeLidViewWhenFaded();
    void playSound(const QString &name);

    OverlayWindowSupport &m_support;
    Scheduler &m_scheduler;
    SystemSoundPlayer *m_soundPlayer = nullptr;
    quint64 m_generation = 0;
    QList<QPointer<OverlayPanel>> m_panels;
    QPointer<OverlayPanel> m_systemCard;
    QPointer<OverlayPanel> m_arrivalCard;
    LidMotionPresentation m_lidMotion;
    QPointer<LidMotionView> m_lidView;
};

#pragma once

#include "Effects/Pet/PetAction.h"
#include "Effects/Pet/PetDesktop.h"
#include "Effects/Pet/PetMood.h"
#include "Effects/Pet/PetPanel.h"
#include "Effects/Pet/PetPlacement.h"
#include "Foundation/Clock.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class PetPresentation;
class Scheduler;

// Owns the desktop pet: its panel, where the panel sits, drags, and the behaviour of an idle
// pet (a wait, a chase after the pointer, sleep and stretches).
class DesktopPetController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isVisible READ isVisible NOTIFY isVisibleChanged)

public:
    static constexpr double idleWaitSeconds = 12;
    static constexpr double chaseSeconds = 6;
    static constexpr double sleepSeconds = 90;
    static constexpr double stretchSeconds = 1.2;

    DesktopPetController(const Clock &clock, Scheduler &scheduler, PetDesktop &desktop, PetPanelFactory makePanel,
                         QObject *parent = nullptr);
    ~DesktopPetController() override;

    PetPresentation &presentation() { return *m_presentation; }
    bool isVisible() const { return m_isVisible; }
    PetPlacement savedPlacement() const { return m_savedPlacement; }
    // The panel once shown; for tools that look at it.
    PetPanel *panel() const { return m_panel.get(); }

    void show();
    void hide();
    void reset();
    void update(PetMood mood, const QString &message);
    void setStaysPut(bool staysPut);
    // Our own windows the pet must not cover, their frames in global y-up coordinates. The pet
    // stands clear of them wherever it goes, chasing included: beside them when its own place
    // overlaps one, out of sight when no place beside them is free. It comes back to its own
    // place when they go.
    void keepClearOf(std::vector<QRectF> windows);
    // Ignored when equal to the saved placement, so echoes of our own reports do not move the
    // pet; fractions outside 0...1 are clamped and non-finite ones give the default.
    void setPlacement(PetPlacement placement);

    std::function<void(PetAction)> onAction;
    std::function<void(PetPlacement)> onPlacementChanged;

signals:
    void isVisibleChanged();
    void changed();

private:
    void position();
    // Shows the pet at its own place, or the nearest one clear of our windows; returns where
    // it stands, none when out of sight.
    std::optional<QPointF> keepClear();
    void scheduleIdle();
    void stopBehavior();
    bool mayIdle() const;
    void dragPet(QSizeF translation);
    void finishDraggingPet();
    void resizePanel(bool expanded);
    void startChase();
    void updateChase();
    void scheduleStretch();
    void beginStretch();
    void menuVisibilityChanged();
    void setVisible(bool visible);
    // Runs `step` after the delay unless a newer behaviour step replaced it.
    void scheduleStep(double seconds, void (DesktopPetController::*step)());
    bool menuOpen() const;

    const Clock &m_clock;
    Scheduler &m_scheduler;
    PetDesktop &m_desktop;
    PetPanelFactory m_makePanel;
    std::unique_ptr<PetPresentation> m_presentation;
    std::unique_ptr<PetPanel> m_panel;
    bool m_isVisible = false;
    // Each behaviour step carries the generation it was scheduled in; stopping the behaviour
    // moves the generation on, so the idle wait, sleep, stretch and chase ticks stand down.
    std::uint64_t m_behaviorGeneration = 0;
    bool m_chasing = false;
    Clock::Uptime m_chaseStarted;
    Clock::Uptime m_lastChaseTick;
    // Where the chase has the window, to the fraction; the window itself keeps whole pixels.
    std::optional<QPointF> m_chaseOrigin;
    PetPlacement m_savedPlacement;
    bool m_staysPut = false;
    std::vector<QRectF> m_clearOf;
    // Where the pet stands when no window is in its way; the window shows it clear of them.
    QRectF m_ownFrame;
    // Ordered out because no place clear of that window was free.
    bool m_outOfSight = false;
    std::optional<QPointF> m_dragStartOrigin;
    bool m_menuWasOpen = false;
};

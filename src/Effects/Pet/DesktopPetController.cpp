#include "Effects/Pet/DesktopPetController.h"

#include "Effects/Pet/PetGeometry.h"
#include "Effects/Pet/PetMotion.h"
#include "Effects/Pet/PetPresentation.h"
#include "Foundation/ClearPlace.h"
#include "Foundation/Scheduler.h"

#include <QPointer>

#include <algorithm>
#include <cmath>

namespace {
constexpr std::chrono::milliseconds chaseTick{16};

std::chrono::milliseconds millis(double seconds)
{
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

double seconds(Clock::Uptime from, Clock::Uptime to)
{
    return std::chrono::duration<double>(to - from).count();
}
}

DesktopPetController::DesktopPetController(const Clock &clock, Scheduler &scheduler, PetDesktop &desktop,
                                           PetPanelFactory makePanel, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    , m_scheduler(scheduler)
    , m_desktop(desktop)
    , m_makePanel(std::move(makePanel))
    , m_presentation(std::make_unique<PetPresentation>(scheduler))
    , m_chaseStarted(clock.uptime())
    , m_lastChaseTick(clock.uptime())
{
    connect(m_presentation.get(), &PetPresentation::isDialogueVisibleChanged, this, [this] {
        m_scheduler.schedule(std::chrono::milliseconds(0), this, [this] { menuVisibilityChanged(); });
    });
}

DesktopPetController::~DesktopPetController() = default;

bool DesktopPetController::menuOpen() const
{
    return m_presentation->isDialogueVisible();
}

void DesktopPetController::setVisible(bool visible)
{
    if (m_isVisible == visible)
        return;
    m_isVisible = visible;
    emit isVisibleChanged();
    emit changed();
}

void DesktopPetController::show()
{
    if (!m_panel) {
        QPointer<DesktopPetController> self(this);
        m_panel = m_makePanel(*m_presentation,
                              {[self](PetAction action) {
                                   if (!self)
                                       return;
                                   self->stopBehavior();
                                   self->m_presentation->setDialogueVisible(false);
                                   if (self->onAction)
                                       self->onAction(action);
                               },
                               [self](QSizeF translation) {
                                   if (self)
                                       self->dragPet(translation);
                               },
                               [self] {
                                   if (self)
                                       self->finishDraggingPet();
                               }});
    }
    position();
    if (!m_outOfSight)
        m_panel->orderFront();
    setVisible(true);
    scheduleIdle();
}

void DesktopPetController::hide()
{
    m_presentation->setDialogueVisible(false);
    if (m_panel)
        m_panel->orderOut();
    stopBehavior();
    setVisible(false);
}

void DesktopPetController::reset()
{
    m_presentation->reset();
    scheduleIdle();
    if (m_panel)
        position();
}

void DesktopPetController::update(PetMood mood, const QString &message)
{
    m_presentation->update(mood, message);
    scheduleIdle();
}

void DesktopPetController::setStaysPut(bool staysPut)
{
    m_staysPut = staysPut;
    m_presentation->setStaysPut(staysPut);
    if (staysPut)
        stopBehavior();
    else
        scheduleIdle();
}

void DesktopPetController::keepClearOf(std::vector<QRectF> windows)
{
    if (windows == m_clearOf)
        return;
    m_clearOf = std::move(windows);
    if (m_panel && m_isVisible)
        keepClear();
}

void DesktopPetController::setPlacement(PetPlacement placement)
{
    placement = placement.sanitized();
    placement = {std::clamp(placement.x, 0.0, 1.0), std::clamp(placement.y, 0.0, 1.0)};
    if (placement == m_savedPlacement)
        return;
    m_savedPlacement = placement;
    if (m_panel && m_isVisible)
        position();
}

void DesktopPetController::position()
{
    const std::optional<PetScreen> screen = m_desktop.mainScreen();
    if (!screen || !m_panel)
        return;
    const QSizeF size = m_panel->frame().size();
    const QRectF area = PetGeometry::placementArea(*screen, size, menuOpen());
    m_ownFrame = {PetGeometry::origin(area, size, m_savedPlacement.x, m_savedPlacement.y), size};
    keepClear();
}

std::optional<QPointF> DesktopPetController::keepClear()
{
    if (!m_panel)
        return std::nullopt;
    std::optional<QPointF> place = m_ownFrame.topLeft();
    if (!m_clearOf.empty()) {
        std::optional<PetScreen> screen = PetGeometry::screenContaining(m_desktop.screens(), m_ownFrame.center());
        if (!screen)
            screen = m_desktop.mainScreen();
        const QSizeF size = m_ownFrame.size();
        place = screen ? ClearPlace::nearest(m_ownFrame, m_clearOf, PetGeometry::placementArea(*screen, size, menuOpen()),
                                             PetGeometry::screenMargin)
                       : std::nullopt;
    }
    // Out of sight the window still follows the pet's own place and size.
    const QRectF shown(place.value_or(m_ownFrame.topLeft()), m_ownFrame.size());
    if (shown.toRect() != m_panel->frame().toRect())
        m_panel->setFrame(shown);
    const bool outOfSight = !place;
    if (outOfSight != m_outOfSight) {
        m_outOfSight = outOfSight;
        if (m_isVisible && outOfSight)
            m_panel->orderOut();
        else if (m_isVisible)
            m_panel->orderFront();
    }
    return place;
}

void DesktopPetController::stopBehavior()
{
    ++m_behaviorGeneration;
    m_chasing = false;
    m_presentation->setWalking(false);
}

bool DesktopPetController::mayIdle() const
{
    const PetMood mood = m_presentation->mood();
    return m_isVisible && !m_staysPut && !m_presentation->focusRemainingSeconds() && !menuOpen()
        && (mood == PetMood::idle || mood == PetMood::celebrating);
}

void DesktopPetController::scheduleStep(double delaySeconds, void (DesktopPetController::*step)())
{
    const std::uint64_t generation = m_behaviorGeneration;
    m_scheduler.schedule(millis(delaySeconds), this, [this, generation, step] {
        if (m_behaviorGeneration == generation)
            (this->*step)();
    });
}

void DesktopPetController::scheduleIdle()
{
    stopBehavior();
    if (mayIdle())
        scheduleStep(idleWaitSeconds, &DesktopPetController::startChase);
}

void DesktopPetController::startChase()
{
    ++m_behaviorGeneration;
    if (!mayIdle())
        return;
    if (m_presentation->mood() == PetMood::celebrating)
        m_presentation->update(PetMood::idle, QString::fromUtf8(PetPresentation::defaultMessage));
    m_presentation->becomeBored();
    m_chaseStarted = m_lastChaseTick = m_clock.uptime();
    m_chasing = true;
    m_chaseOrigin.reset();
    scheduleStep(0, &DesktopPetController::updateChase);
}

void DesktopPetController::updateChase()
{
    if (!m_chasing)
        return;
    if (!m_isVisible || menuOpen() || m_presentation->mood() != PetMood::bored || !m_panel) {
        stopBehavior();
        return;
    }
    const Clock::Uptime now = m_clock.uptime();
    if (seconds(m_chaseStarted, now) >= chaseSeconds) {
        stopBehavior();
        m_presentation->rest();
        scheduleStretch();
        return;
    }
    const double timeStep = seconds(m_lastChaseTick, now);
    m_lastChaseTick = now;
    // The next tick is due whatever this one finds; stopping the behaviour cancels it.
    const std::uint64_t generation = m_behaviorGeneration;
    m_scheduler.schedule(chaseTick, this, [this, generation] {
        if (m_behaviorGeneration == generation)
            updateChase();
    });

    const QPointF pointer = m_desktop.pointer();
    std::optional<PetScreen> screen = PetGeometry::screenContaining(m_desktop.screens(), pointer);
    if (!screen)
        screen = m_desktop.mainScreen();
    if (!screen) {
        m_presentation->setWalking(false);
        return;
    }
    // The window keeps whole pixels; the chase keeps its exact place, so fractions of a step
    // add up at full speed, unless something else moved the window since.
    const QRectF frame = m_panel->frame();
    const bool sameWindowPlace = m_chaseOrigin && QRectF(*m_chaseOrigin, frame.size()).toRect() == frame.toRect();
    const QPointF origin = sameWindowPlace ? *m_chaseOrigin : frame.topLeft();
    const QPointF target = PetGeometry::chaseTarget(pointer, *screen, frame.size());
    const QPointF next = PetMotion::nextOrigin(origin, target, timeStep);
    m_chaseOrigin = next;
    if (next != origin) {
        m_ownFrame = {next, frame.size()};
        // Stopped beside one of our windows: the chase goes on from where the pet stands.
        if (const std::optional<QPointF> shown = keepClear(); shown && *shown != next) {
            m_ownFrame.moveTopLeft(*shown);
            m_chaseOrigin = *shown;
        }
    }
    // A pet whose drawn place does not change must not walk.
    if (m_panel->frame().topLeft() != frame.topLeft())
        m_presentation->setMovement(next.x() - origin.x());
    else
        m_presentation->setWalking(false);
}

void DesktopPetController::scheduleStretch()
{
    if (m_isVisible && !menuOpen() && m_presentation->mood() == PetMood::sleeping)
        scheduleStep(sleepSeconds, &DesktopPetController::beginStretch);
}

void DesktopPetController::beginStretch()
{
    ++m_behaviorGeneration;
    if (!m_isVisible || menuOpen() || m_presentation->mood() != PetMood::sleeping)
        return;
    m_presentation->stretch();
    const std::uint64_t generation = m_behaviorGeneration;
    m_scheduler.schedule(millis(stretchSeconds), this, [this, generation] {
        if (m_behaviorGeneration != generation || !m_isVisible || m_presentation->mood() != PetMood::stretching)
            return;
        ++m_behaviorGeneration;
        m_presentation->finishStretch();
        scheduleStretch();
    });
}

void DesktopPetController::dragPet(QSizeF translation)
{
    if (!m_panel)
        return;
    if (!m_dragStartOrigin) {
        stopBehavior();
        m_dragStartOrigin = m_panel->frame().topLeft();
    }
    const QRectF frame = m_panel->frame();
    // The screen that holds the panel's centre: a closed panel hanging past a screen's edge
    // still belongs to the screen the pet is on.
    const QPointF startCentre = *m_dragStartOrigin + QPointF(frame.width() / 2, frame.height() / 2);
    std::optional<PetScreen> screen = PetGeometry::screenContaining(m_desktop.screens(), startCentre);
    if (!screen)
        screen = m_desktop.mainScreen();
    if (!screen)
        return;
    const QPointF wanted(m_dragStartOrigin->x() + translation.width(), m_dragStartOrigin->y() - translation.height());
    const QRectF area = PetGeometry::placementArea(*screen, frame.size(), menuOpen());
    const PetPlacement placement = PetPlacement::normalized(wanted, area, frame.size());
    m_ownFrame = {PetGeometry::origin(area, frame.size(), placement.x, placement.y), frame.size()};
    m_panel->setFrame(m_ownFrame);
    m_presentation->setMovement(translation.width());
}

void DesktopPetController::finishDraggingPet()
{
    const auto endDrag = [this] {
        m_dragStartOrigin.reset();
        m_presentation->setWalking(false);
    };
    if (!m_panel) {
        endDrag();
        return;
    }
    const QRectF frame = m_panel->frame();
    std::optional<PetScreen> screen = PetGeometry::screenContaining(m_desktop.screens(), frame.center());
    if (!screen)
        screen = m_desktop.mainScreen();
    if (!screen) {
        endDrag();
        return;
    }
    const QRectF area = PetGeometry::placementArea(*screen, frame.size(), menuOpen());
    m_savedPlacement = PetPlacement::normalized(frame.topLeft(), area, frame.size());
    m_ownFrame = frame;
    if (onPlacementChanged)
        onPlacementChanged(m_savedPlacement);
    m_presentation->dragged();
    keepClear();
    scheduleIdle();
    endDrag();
}

void DesktopPetController::resizePanel(bool expanded)
{
    if (!m_panel)
        return;
    const QSizeF target = expanded ? PetGeometry::openPanelSize : PetGeometry::closedPanelSize;
    if (m_panel->frame().size() == target)
        return;
    std::optional<PetScreen> screen;
    for (const PetScreen &candidate : m_desktop.screens()) {
        if (candidate.frame.intersects(m_ownFrame)) {
            screen = candidate;
            break;
        }
    }
    if (!screen)
        screen = m_desktop.mainScreen();
    if (!screen)
        return;
    m_ownFrame = PetGeometry::resized(m_ownFrame, target, *screen, expanded);
    keepClear();
}

void DesktopPetController::menuVisibilityChanged()
{
    const bool open = menuOpen();
    if (open == m_menuWasOpen)
        return;
    m_menuWasOpen = open;
    resizePanel(open);
    if (open)
        stopBehavior();
    else
        scheduleIdle();
}

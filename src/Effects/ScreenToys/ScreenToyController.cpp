#include "Effects/ScreenToys/ScreenToyController.h"

#include "Effects/ScreenToys/ScreenToyArtwork.h"
#include "Effects/ScreenToys/ScreenToyCanvasView.h"
#include "Effects/ScreenToys/ScreenToyGrenadePainter.h"
#include "Effects/ScreenToys/ScreenToyPOV.h"
#include "Effects/ScreenToys/ScreenToyWhipHandle.h"
#include "Foundation/FreedMemory.h"
#include "Foundation/ScreenGeometry.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {
constexpr double whipHandleAnchorInset = 60;
}

ScreenToyController::ScreenToyController(std::function<bool()> permissionGranted, Sources sources,
                                         std::unique_ptr<ScreenToySound> sound, const Clock &clock,
                                         ScreenProvider screenProvider, QObject *parent)
    : QObject(parent)
    , m_permissionGranted(std::move(permissionGranted))
    , m_sources(sources)
    , m_sound(std::move(sound))
    , m_clock(clock)
    , m_screenProvider(screenProvider ? std::move(screenProvider) : ScreenProvider(desktopScreens))
    // Without a desktop-wide source, Esc still works in our own windows.
    , m_escapeMonitor(sources.keys, EscapeKeyMonitor::Reach::desktopElseOwnWindows)
{
    // Put away from the event loop: stopping ends the delivery this call is part of.
    m_escapeMonitor.onKeyCode = [this](std::uint16_t code) {
        if (code == EscapeKeyMonitor::escapeKeyCode && m_activeToy)
            QMetaObject::invokeMethod(this, [this] { stop(); }, Qt::QueuedConnection);
    };
    m_animationTimer.setInterval(tickIntervalMs);
    m_animationTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_animationTimer, &QTimer::timeout, this, &ScreenToyController::tick);
}

ScreenToyController::~ScreenToyController()
{
    stop();
}

QString ScreenToyController::permissionNeededText()
{
    return QStringLiteral("Input Access is needed to use screen toys across apps.");
}

QString ScreenToyController::compositorNeededText()
{
    return QStringLiteral("Screen toys need a desktop compositor to draw over the screen.");
}

QString ScreenToyController::escapeUnavailableText()
{
    return QStringLiteral("Global Esc is unavailable. Check input access, then restart Plinkly.");
}

QString ScreenToyController::pointerUnavailableText()
{
    return QStringLiteral("Screen toys can’t follow the pointer across the desktop in this session.");
}

QString ScreenToyController::activeText(ScreenToyKind kind)
{
    return ScreenToyKinds::title(kind) + QStringLiteral(" active · Esc to stop");
}

ScreenToyController::EscapeReach ScreenToyController::escapeReach() const
{
    if (m_escapeMonitor.hearsDesktop())
        return EscapeReach::desktop;
    return m_escapeMonitor.isListening() ? EscapeReach::ownWindows : EscapeReach::none;
}

std::vector<ScreenToyScreen> ScreenToyController::desktopScreens()
{
    std::vector<ScreenToyScreen> screens;
    const qreal primaryHeight = ScreenGeometry::primaryScreenHeight();
    const auto all = QGuiApplication::screens();
    for (qsizetype i = 0; i < all.size(); ++i) {
        screens.push_back({quint32(i), ScreenGeometry::fromQt(QRectF(all[i]->geometry()), primaryHeight),
                           ScreenGeometry::fromQt(QRectF(all[i]->availableGeometry()), primaryHeight)});
    }
    return screens;
}

std::vector<ScreenToyCanvasView *> ScreenToyController::canvases() const
{
    std::vector<ScreenToyCanvasView *> views;
    for (const auto &[number, panel] : m_panels)
        views.push_back(panel.view.get());
    return views;
}

void ScreenToyController::setStatus(std::optional<QString> status)
{
    if (status == m_status)
        return;
    m_status = std::move(status);
    emit statusChanged();
    emit changed();
}

void ScreenToyController::setActiveToy(std::optional<ScreenToyKind> kind)
{
    if (kind == m_activeToy)
        return;
    m_activeToy = kind;
    emit activeToyChanged();
    emit changed();
}

void ScreenToyController::setHandTone(ScreenToyHandTone tone)
{
    m_handTone = tone;
    for (auto &[number, panel] : m_panels)
        panel.view->setHandTone(tone);
}

QPointF ScreenToyController::pointerLocation() const
{
    return ScreenGeometry::fromQt(QPointF(m_sources.pointer.position()), ScreenGeometry::primaryScreenHeight());
}

bool ScreenToyController::equip(ScreenToyKind kind)
{
    const bool granted = m_permissionGranted && m_permissionGranted();
    stop();
    if (!granted) {
        setStatus(permissionNeededText());
        return false;
    }
    // Without a compositor the canvases would paint the whole screen black.
    if (!m_sources.overlays.blendsTranslucentWindows()) {
        setStatus(compositorNeededText());
        return false;
    }
    // A toy that cannot hear the pointer would never fire.
    if (!m_sources.pointer.start([this](GlobalPointer::Event event) { handlePointer(event); })) {
        setStatus(pointerUnavailableText());
        return false;
    }
    if (kind == ScreenToyKind::grenade)
        ScreenToyGrenadePainter::prepare(m_handTone);
    if (m_sound)
        m_sound->load();
    setActiveToy(kind);
    setStatus(activeText(kind));
    m_reduceMotion = m_sources.motion.reduceMotion();
    m_pointer = pointerLocation();
    refreshDisplays();
    if (kind == ScreenToyKind::whip)
        showWhipHandle();
    if (!m_escapeMonitor.start() || !m_escapeMonitor.hearsDesktop())
        setStatus(escapeUnavailableText());
    watchDisplaysAndSleep();
    return true;
}

void ScreenToyController::stop()
{
    m_nextAutomaticShot.reset();
    setActiveToy(std::nullopt);
    setStatus(std::nullopt);
    m_pointer.reset();
    m_whipMotion.reset();
    delete m_whipHandle.data();
    clearMarks();
    m_sources.pointer.stop();
    m_escapeMonitor.stop();
    unwatchDisplaysAndSleep();
    m_panels.clear();
    // What only a toy in the hand needs goes with it.
    const bool held = ScreenToyArtwork::isLoaded() || (m_sound && m_sound->isLoaded());
    if (m_sound) {
        m_sound->stopSoon();
        m_sound->release();
    }
    ScreenToyArtwork::release();
    if (held)
        FreedMemory::giveBack();
}

void ScreenToyController::clearMarks()
{
    m_markStore.marks.clear();
    m_wetness.patches.clear();
    m_grenades.grenades.clear();
    if ((!m_whipMotion || m_whipMotion->isSettled) && !m_nextAutomaticShot) {
        m_animationTimer.stop();
        m_lastAnimationTime.reset();
    }
    updateCanvases(now());
}

void ScreenToyController::watchDisplaysAndSleep()
{
    unwatchDisplaysAndSleep();
    if (m_sources.sleep) {
        // Put away from the event loop: stopping drops this very handler.
        m_sources.sleep->start([this](SleepTransition transition) {
            if (transition == SleepTransition::willSleep)
                QMetaObject::invokeMethod(this, [this] { stop(); }, Qt::QueuedConnection);
        });
    }
    watchDisplays();
}

void ScreenToyController::watchDisplays()
{
    unwatchDisplays();
    auto *application = qGuiApp;
    if (!application)
        return;
    // A display that comes or goes changes the list of screens whose frames are watched.
    const auto rewatch = [this] {
        refreshDisplays();
        watchDisplays();
    };
    m_displayConnections.push_back(connect(application, &QGuiApplication::screenAdded, this, rewatch));
    m_displayConnections.push_back(connect(application, &QGuiApplication::screenRemoved, this, rewatch));
    m_displayConnections.push_back(
        connect(application, &QGuiApplication::primaryScreenChanged, this, [this] { refreshDisplays(); }));
    for (QScreen *screen : QGuiApplication::screens())
        m_displayConnections.push_back(
            connect(screen, &QScreen::geometryChanged, this, [this] { refreshDisplays(); }));
}

void ScreenToyController::unwatchDisplaysAndSleep()
{
    if (m_sources.sleep)
        m_sources.sleep->stop();
    unwatchDisplays();
}

void ScreenToyController::unwatchDisplays()
{
    for (const auto &connection : m_displayConnections)
        disconnect(connection);
    m_displayConnections.clear();
}

ScreenToyScene ScreenToyController::sceneAt(double time) const
{
    ScreenToyScene scene;
    scene.toy = m_activeToy.value_or(ScreenToyKind::blaster);
    scene.pointer = m_pointer;
    scene.marks = m_markStore.marks;
    scene.wetPatches = m_wetness.patches;
    scene.grenades = m_grenades.grenades;
    scene.displayTime = time;
    scene.reduceMotion = m_reduceMotion;
    scene.handTone = m_handTone;
    if (m_whipMotion)
        scene.whipPoints = m_whipMotion->points;
    return scene;
}

void ScreenToyController::refreshDisplays()
{
    if (!m_activeToy)
        return;
    const qreal primaryHeight = ScreenGeometry::primaryScreenHeight();
    std::vector<quint32> live;
    const double time = now();
    for (const ScreenToyScreen &screen : m_screenProvider()) {
        live.push_back(screen.number);
        if (const auto found = m_panels.find(screen.number);
            found != m_panels.end() && found->second.frame == screen.frame)
            continue;
        auto view = std::make_unique<ScreenToyCanvasView>(screen.frame,
                                                          ScreenGeometry::toQt(screen.frame, primaryHeight).toRect());
        view->setObjectName(QStringLiteral("plinkly.screenToy.%1").arg(screen.number));
        view->setScene(sceneAt(time));
        view->show();
        view->raise();
        m_panels[screen.number] = CanvasPanel{std::move(view), screen.frame};
    }
    std::erase_if(m_panels, [&](const auto &entry) { return std::ranges::find(live, entry.first) == live.end(); });
}

void ScreenToyController::showWhipHandle()
{
    const std::vector<ScreenToyScreen> screens = m_screenProvider();
    if (screens.empty())
        return;
    const QRectF &visible = screens.front().visibleFrame;
    const QPointF anchor(visible.right() - whipHandleAnchorInset, visible.center().y());
    const double time = now();
    WhipMotion rope;
    rope.begin(anchor, time);
    rope.isDragging = false;
    rope.isSettled = false;
    m_whipMotion = rope;

    auto *handle = new ScreenToyWhipHandle;
    handle->setObjectName(QStringLiteral("plinkly.whipHandle"));
    const qreal half = ScreenToyWhipHandle::side / 2.0;
    handle->setGeometry(ScreenGeometry::toQt(QRectF(anchor - QPointF(half, half), QSizeF(2 * half, 2 * half)),
                                             ScreenGeometry::primaryScreenHeight())
                            .toRect());
    handle->onBegin = [this](QPointF, double beganAt) {
        if (m_whipMotion && m_whipHandle) {
            const QRectF frame = ScreenGeometry::fromQt(QRectF(m_whipHandle->geometry()),
                                                        ScreenGeometry::primaryScreenHeight());
            m_whipMotion->begin(frame.center(), beganAt);
        }
        startAnimationTimer();
    };
    handle->onDrag = [this](QPointF point, double draggedAt) { dragWhip(point, draggedAt); };
    handle->onEnd = [this] {
        if (m_whipMotion) {
            m_whipMotion->isDragging = false;
            m_whipMotion->isSettled = false;
        }
        startAnimationTimer();
    };
    m_whipHandle = handle;
    handle->show();
    handle->raise();
    updateCanvases(time);
    startAnimationTimer();
}

void ScreenToyController::dragWhip(QPointF to, double time)
{
    if (m_activeToy != ScreenToyKind::whip || !m_whipMotion || !m_whipHandle)
        return;
    m_whipMotion->drag(to, time);
    const QPointF centre = ScreenGeometry::toQt(to, ScreenGeometry::primaryScreenHeight());
    const int half = ScreenToyWhipHandle::side / 2;
    m_whipHandle->move(qRound(centre.x()) - half, qRound(centre.y()) - half);
    updateCanvases(time);
    startAnimationTimer();
}

void ScreenToyController::handlePointer(GlobalPointer::Event event)
{
    if (!m_activeToy)
        return;
    switch (event) {
    case GlobalPointer::Event::moved:
        m_pointer = pointerLocation();
        for (auto &[number, panel] : m_panels)
            panel.view->setPointer(m_pointer);
        return;
    case GlobalPointer::Event::leftUp:
        m_nextAutomaticShot.reset();
        return;
    case GlobalPointer::Event::leftDown: {
        // A click may have raised the window under it above the canvases.
        for (auto &[number, panel] : m_panels)
            panel.view->raise();
        if (m_whipHandle)
            m_whipHandle->raise();
        if (m_activeToy == ScreenToyKind::whip)
            return;
        m_pointer = pointerLocation();
        const double time = now();
        if (m_activeToy == ScreenToyKind::ak47) {
            if (m_nextAutomaticShot)
                return;
            m_nextAutomaticShot = time + automaticFireInterval;
        }
        recordShot(*m_pointer, time);
        return;
    }
    }
}

void ScreenToyController::recordShot(QPointF point, double time)
{
    if (!m_activeToy || m_activeToy == ScreenToyKind::whip)
        return;
    const ScreenToyKind kind = *m_activeToy;
    std::optional<QRectF> frame;
    for (const ScreenToyScreen &screen : m_screenProvider()) {
        if (screen.frame.contains(point)) {
            frame = screen.frame;
            break;
        }
    }
    if (kind == ScreenToyKind::grenade) {
        const QRectF area = frame.value_or(QRectF(point.x() - 400, point.y() - 400, 800, 800));
        m_grenades.throwGrenade(QPointF(area.center().x() + 65, area.top() + 130), point, time);
        if (const auto &throwSound = m_sound ? m_sound->grenadeThrowBuffer() : nullptr)
            m_sound->playBuffer(throwSound, ScreenToySound::playbackVolume(ScreenToyKind::grenade, m_volume));
        updateCanvases(time);
        startAnimationTimer();
        return;
    }
    const QPointF origin =
        frame ? ScreenToyPOV::layout(*frame, point, kind).muzzle + frame->topLeft() : point;
    m_markStore.record(ScreenToyMark{kind, point, time, ScreenToyShot{origin, point, time, kind}});
    if (kind == ScreenToyKind::waterGun)
        m_wetness.addImpact(point, time);
    updateCanvases(time);
    startAnimationTimer();
    if (m_sound)
        m_sound->play(kind, m_volume);
}

void ScreenToyController::startAnimationTimer()
{
    if (m_animationTimer.isActive())
        return;
    m_lastAnimationTime = now();
    m_animationTimer.start();
}

void ScreenToyController::tick()
{
    const double time = now();
    if (m_nextAutomaticShot) {
        if (m_sources.pointer.leftButtonIsDown() && m_activeToy == ScreenToyKind::ak47) {
            if (*m_nextAutomaticShot <= time && m_pointer) {
                // Counted from when the round was due, so ticks that do not divide the interval
                // keep the rate; after a stall the missed rounds are not fired.
                const double due = *m_nextAutomaticShot + automaticFireInterval;
                m_nextAutomaticShot = due > time ? due : time + automaticFireInterval;
                recordShot(*m_pointer, time);
            }
        } else {
            m_nextAutomaticShot.reset();
        }
    }
    if (m_whipMotion) {
        WhipMotion rope = *m_whipMotion;
        if (rope.advance(m_lastAnimationTime ? time - *m_lastAnimationTime : 0.0)) {
            const QPointF tip = rope.points.empty() ? QPointF(0, 0) : rope.points.back();
            m_markStore.record(ScreenToyMark{ScreenToyKind::whip, tip, time, std::nullopt});
            if (m_sound)
                m_sound->play(ScreenToyKind::whip, ScreenToySound::crackVolume(m_volume, rope.lastLashSpeed));
        }
        m_whipMotion = rope;
    }
    m_lastAnimationTime = time;
    if (m_grenades.detonations(time) > 0 && m_sound)
        m_sound->play(ScreenToyKind::grenade, m_volume);
    m_markStore.expire(time);
    m_wetness.expire(time);
    updateCanvases(time);
    if (m_markStore.marks.empty() && m_wetness.patches.empty() && m_grenades.grenades.empty()
        && (!m_whipMotion || m_whipMotion->isSettled) && !m_nextAutomaticShot) {
        m_animationTimer.stop();
        m_lastAnimationTime.reset();
    }
}

void ScreenToyController::updateCanvases(double time)
{
    const int count = int(std::max({m_markStore.marks.size(), m_wetness.patches.size(), m_grenades.grenades.size()}));
    if (count != m_markCount) {
        m_markCount = count;
        emit markCountChanged();
        emit changed();
    }
    if (m_panels.empty())
        return;
    const ScreenToyScene scene = sceneAt(time);
    for (auto &[number, panel] : m_panels)
        panel.view->setScene(scene);
}

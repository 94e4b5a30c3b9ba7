#include "Effects/Chaos/ChaosEffectController.h"

#include "Effects/Chaos/ChaosPanel.h"
#include "Effects/Chaos/DesktopItems.h"
#include "Foundation/FreedMemory.h"
#include "Foundation/WhenFinished.h"
#include "Foundation/ScreenGeometry.h"
#include "Platform/DesktopIconLocator.h"
#include "Platform/DesktopPictureSource.h"
#include "Platform/OverlayWindowSupport.h"

#include <QGuiApplication>
#include <QPixmapCache>
#include <QScreen>
#include <QStandardPaths>
#include <QtConcurrent>

#include <linux/input-event-codes.h>

ChaosEffectController::ChaosEffectController(const OverlayWindowSupport &windows, DesktopIconLocator &iconLocator,
                                             const DesktopPictureSource &pictures, QObject *parent)
    : QObject(parent)
    , screens(systemScreens)
    , desktopFolder([] { return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation); })
    , hearsGlobalKeys([] { return false; })
    , m_windows(windows)
    , m_iconLocator(iconLocator)
    , m_pictures(pictures)
{
    m_backdropWork.setMaxThreadCount(1);
}

ChaosEffectController::~ChaosEffectController()
{
    for (const auto &panel : m_panels)
        delete panel.data();
}

std::vector<ChaosScreen> ChaosEffectController::systemScreens()
{
    const qreal primaryHeight = ScreenGeometry::primaryScreenHeight();
    std::vector<ChaosScreen> result;
    for (const QScreen *screen : QGuiApplication::screens())
        result.push_back({ScreenGeometry::fromQt(QRectF(screen->geometry()), primaryHeight),
                          ScreenGeometry::fromQt(QRectF(screen->availableGeometry()), primaryHeight)});
    return result;
}

void ChaosEffectController::start()
{
    if (m_enabled)
        return;
    m_enabled = true;
    watchScreens();
}

void ChaosEffectController::stop()
{
    m_enabled = false;
    reset();
    delete m_screenWatch;
    m_screenWatch = nullptr;
}

void ChaosEffectController::watchScreens()
{
    m_screenWatch = new QObject(this);
    const auto watch = [this](QScreen *screen) {
        connect(screen, &QScreen::geometryChanged, m_screenWatch, [this] { screensChanged(); });
        connect(screen, &QScreen::availableGeometryChanged, m_screenWatch, [this] { screensChanged(); });
    };
    for (QScreen *screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, m_screenWatch, [this, watch](QScreen *screen) {
        watch(screen);
        screensChanged();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, m_screenWatch, [this] { screensChanged(); });
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, m_screenWatch, [this] { screensChanged(); });
}

void ChaosEffectController::screensChanged()
{
    if (m_screenResetQueued)
        return;
    m_screenResetQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_screenResetQueued = false;
            if (m_enabled)
                reset();
        },
        Qt::QueuedConnection);
}

void ChaosEffectController::scheduleReset()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_listensForEscape)
                reset();
        },
        Qt::QueuedConnection);
}

void ChaosEffectController::handleGlobalKey(const KeySoundEvent &event)
{
    if (event.keyCode == KEY_ESC && event.phase == KeyPhase::down && !event.isRepeat)
        scheduleReset();
}

void ChaosEffectController::setLastEffectName(const QString &name)
{
    if (m_lastEffectName == name)
        return;
    m_lastEffectName = name;
    emit lastEffectNameChanged(name);
    emit changed();
}

void ChaosEffectController::setHasIconPositions(bool found)
{
    if (m_hasIconPositions == found)
        return;
    m_hasIconPositions = found;
    emit hasIconPositionsChanged(found);
    emit changed();
}

void ChaosEffectController::learnIconPositions(std::optional<bool> found)
{
    // A look that could not reach the desktop's icons leaves the last answer as it stands.
    if (found)
        setHasIconPositions(*found);
}

void ChaosEffectController::refreshIconPositions()
{
    const quint64 probe = ++m_iconProbe;
    m_iconLocator.findPositions([controller = QPointer(this), probe](const DesktopIconLocator::Sight &sight) {
        if (!controller)
            return;
        // Published from the event loop, never from inside the call.
        QMetaObject::invokeMethod(
            controller,
            [controller, probe, found = sight.found()] {
                if (controller && controller->m_iconProbe == probe)
                    controller->learnIconPositions(found);
            },
            Qt::QueuedConnection);
    });
}

void ChaosEffectController::enablePreciseIconDrop()
{
    m_preciseIconDropEnabled = true;
    refreshIconPositions();
}

void ChaosEffectController::restoreIconPositionsFound()
{
    m_preciseIconDropEnabled = true;
    setHasIconPositions(true);
}

void ChaosEffectController::accessibilityChanged()
{
    if (m_preciseIconDropEnabled)
        refreshIconPositions();
}

void ChaosEffectController::reset()
{
    ++m_iconRequest;
    // Panels close once control is back in the event loop: a reset may come from inside
    // a panel's own mouse handler.
    for (const auto &panel : m_panels) {
        if (panel)
            panel->dismiss();
    }
    m_panels.clear();
    m_listensForEscape = false;
    const bool wasActive = m_activeMode.has_value();
    m_activeMode.reset();
    if (wasActive) {
        emit activeModeChanged();
        emit isActiveChanged(false);
    }
    emit changed();
}

void ChaosEffectController::trigger(ChaosMode mode)
{
    if (!m_enabled)
        return;
    reset();
    // Without a compositor the panels' transparent parts would hide the desktop in black.
    if (!m_windows.blendsTranslucentWindows()) {
        setLastEffectName(noCompositorName);
        return;
    }
    std::vector<ChaosScreen> kept = screens();
    if (kept.size() > size_t(maxScreens))
        kept.resize(size_t(maxScreens));
    if (kept.empty())
        return;

    // The icon frames take another program's answers; a reset or a later trigger before they
    // arrive makes them moot.
    const quint64 request = ++m_iconRequest;
    m_iconLocator.findPositions([controller = QPointer(this), request, mode, kept](const DesktopIconLocator::Sight &sight) {
        if (controller && controller->m_iconRequest == request && controller->m_enabled) {
            controller->learnIconPositions(sight.found());
            controller->present(mode, kept, sight.positions);
        }
    });
}

void ChaosEffectController::present(ChaosMode mode, const std::vector<ChaosScreen> &kept,
                                    const DesktopIconLocator::Positions &icons)
{
    const std::vector<DesktopVisualItem> found = DesktopItems::load(desktopFolder(), icons);
    const ChaosEffectPlan plan = planBuilder(mode, int(found.size()), int(kept.size()));
    const std::vector<DesktopVisualItem> items = DesktopItems::expandedItems(found, plan.itemsPerDisplay);
    // Reading the icons left their theme files, up to 1 MiB each, in Qt's pixmap cache; the
    // items hold their own pictures.
    QPixmapCache::clear();
    const qreal primaryScreenTop = kept.front().frame.bottom();
    const size_t shown = std::min(size_t(std::max(plan.displayCount, 0)), kept.size());
    for (size_t i = 0; i < shown; ++i)
        m_panels.emplace_back(makePanel(kept[i], mode, items, primaryScreenTop));
    loadBackdrops({kept.begin(), kept.begin() + qsizetype(shown)});

    m_activeMode = mode;
    emit activeModeChanged();
    setLastEffectName(ChaosModes::displayName(mode));
    emit isActiveChanged(true);
    emit changed();
    m_listensForEscape = true;
    if (onTriggered)
        onTriggered(mode);
}

// Finding, reading and decoding the desktop picture can take long: the panels start without it
// and take it when it is ready, unless their run ended or was replaced meanwhile.
void ChaosEffectController::loadBackdrops(std::vector<ChaosScreen> shown)
{
    const quint64 request = m_iconRequest;
    auto work = QtConcurrent::run(&m_backdropWork, [this, request, shown] {
        if (m_iconRequest != request)
            return std::vector<ChaosBackdrop>();
        return ChaosBackdrop::load(m_pictures.pictureFile(), shown);
    });
    whenFinished(work, this, [this, request](std::vector<ChaosBackdrop> backdrops) {
        if (m_iconRequest != request)
            return;
        for (size_t i = 0; i < std::min(backdrops.size(), m_panels.size()); ++i) {
            if (ChaosPanel *panel = m_panels[i]) {
                panel->scene().setBackdrop(std::move(backdrops[i]));
                panel->update();
            }
        }
    });
}

ChaosPanel *ChaosEffectController::makePanel(const ChaosScreen &screen, ChaosMode mode,
                                             const std::vector<DesktopVisualItem> &items, qreal primaryScreenTop)
{
    auto scene = std::make_unique<ChaosScene>(mode, items, screen.visibleFrame, primaryScreenTop);
    scene->onOpen = [controller = QPointer(this)] {
        if (controller)
            controller->reset();
    };
    auto *panel = new ChaosPanel(std::move(scene), !hearsGlobalKeys());
    ++m_openPanels;
    // The run's pictures and windows go with its last panel.
    connect(panel, &QObject::destroyed, this, [this] {
        if (--m_openPanels == 0 && m_panels.empty())
            FreedMemory::giveBack();
    });
    panel->onEscape = [this] { scheduleReset(); };
    panel->winId();
    if (QWindow *window = panel->windowHandle())
        m_windows.keepOnEveryWorkspace(*window);
    // The primary screen's top in y-up coordinates is its height, which converts to Qt's.
    panel->present(ScreenGeometry::toQt(screen.visibleFrame, primaryScreenTop).toRect());
    return panel;
}

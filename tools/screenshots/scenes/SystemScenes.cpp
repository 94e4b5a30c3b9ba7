// The System page: a desktop without battery or lid sensor, a laptop with both, reactions
// switched off, a low battery on the charger, and a physics mode running.
#include "SceneRig.h"

#include "Effects/Chaos/ChaosPanel.h"
#include "Effects/Overlays/ReactionCardView.h"
#include "Views/ControlWindow.h"
#include "Views/Pages/ControlPage.h"
#include "Views/System/CursorClicksPanel.h"
#include "Views/System/SystemReactionsPanel.h"
#include "fakes/FakeDesktopIconLocator.h"
#include "fakes/FakeLidAngleReading.h"
#include "fakes/FakeReactionSources.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>

namespace {

// A battery that reports one fixed state.
class FixedPower final : public PowerSource {
public:
    explicit FixedPower(PowerSnapshot snapshot) : m_snapshot(snapshot) {}
    void start(Handler handler) override { handler(m_snapshot); }
    void stop() override {}

private:
    PowerSnapshot m_snapshot;
};

std::function<void(Platform &)> laptop(PowerSnapshot battery)
{
    return [battery](Platform &platform) {
        platform.reactions.power = std::make_unique<FixedPower>(battery);
        platform.makeLidAngleReader = [] {
            auto sensor = std::make_unique<FakeLidAngleReading>();
            sensor->last = 47.9;
            return sensor;
        };
    };
}

// The folder and device watchers a desktop session has, so the status lines show them running.
std::function<void(Platform &)> withWatchers(std::function<void(Platform &)> more = {})
{
    return [more](Platform &platform) {
        platform.reactions.mounts = std::make_unique<FakeMountWatcher>();
        platform.reactions.downloads = std::make_unique<FakeDirectoryWatcher>();
        platform.reactions.screenshots = std::make_unique<FakeDirectoryWatcher>();
        platform.reactions.downloadsFolder = QStringLiteral("/home/user/Downloads");
        platform.reactions.screenshotFolder = ScreenshotLocation::Folder{QStringLiteral("/home/user/Pictures/Screenshots"), true};
        if (more)
            more(platform);
    };
}

QWidget *systemPageContent(SceneRig &rig)
{
    return static_cast<QScrollArea *>(rig.controlWindow(SettingsPage::system).pageView(SettingsPage::system))->widget();
}

const SceneRegistrar desktop{QStringLiteral("system/desktop"), [](SceneRig &rig) {
    rig.app().start();
    rig.capture(QStringLiteral("system/desktop-window"), &rig.controlWindow(SettingsPage::system));
    rig.captureContent(QStringLiteral("system/desktop-page"), systemPageContent(rig));
}, {}, withWatchers()};

const SceneRegistrar laptopScene{QStringLiteral("system/laptop"), [](SceneRig &rig) {
    rig.app().start();
    rig.app().systemReactions().setLastEventText(QStringLiteral("Charger disconnected"));
    rig.app().arrivalReactions().setLastEventText(QStringLiteral("Medium download landed"));
    rig.captureContent(QStringLiteral("system/laptop-page"), systemPageContent(rig));
}, {QStringLiteral("lidDanceEnabled=true"), QStringLiteral("lidDanceStyleID=aurora"),
    QStringLiteral("chargingVisualStyleID=quiet"), QStringLiteral("cursorEffectStyleID=neon"),
    QStringLiteral("interfaceThemeID=ocean")},
   withWatchers(laptop({57, false, false}))};

// An arrival toast where the typing HUD stands (both take the screen's top-right corner).
const SceneRegistrar toastBesideHud{QStringLiteral("system/toast-beside-hud"), [](SceneRig &rig) {
    rig.app().start();
    rig.showWallpaper();
    EffectsController &effects = rig.app().effectsController();
    effects.overlays().showArrival(ArrivalReactionEvent::download(DownloadWeight::medium));
    rig.settle(600);
    QRect shown;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && (window == effects.statsOverlay().view() || qobject_cast<ReactionCardView *>(window)))
            shown |= window->frameGeometry();
    }
    // Names the screen area to save; never shown.
    QWidget area;
    area.setGeometry(shown.adjusted(-24, -24, 24, 24));
    rig.capture(QStringLiteral("system/toast-beside-hud"), &area);
}, {QStringLiteral("interactionStatsEnabled=true"), QStringLiteral("statsOverlayEnabled=true")}};

const SceneRegistrar lowOnCharger{QStringLiteral("system/battery-low-charging"), [](SceneRig &rig) {
    systemPageContent(rig);
    rig.captureContent(QStringLiteral("system/battery-low-charging"),
                       rig.windows().controlWindow()->findChild<SystemReactionsPanel *>());
}, {}, laptop({8, true, true})};

const SceneRegistrar switchedOff{QStringLiteral("system/switched-off"), [](SceneRig &rig) {
    rig.captureContent(QStringLiteral("system/switched-off-page"), systemPageContent(rig));
}, {QStringLiteral("systemReactionsEnabled=false"), QStringLiteral("arrivalReactionsEnabled=false"),
    QStringLiteral("effectsPaused=true")},
   laptop({100, true, false})};

const SceneRegistrar physicsRunning{QStringLiteral("system/physics-running"), [](SceneRig &rig) {
    rig.app().start();
    QWidget *content = systemPageContent(rig);
    rig.app().chaosEffects().trigger(ChaosMode::vortex);
    rig.settle(600);
    rig.captureContent(QStringLiteral("system/physics-running-page"), content);
    ControlWindow &window = rig.controlWindow(SettingsPage::system);
    auto *page = static_cast<QScrollArea *>(window.pageView(SettingsPage::system));
    page->verticalScrollBar()->setValue(page->verticalScrollBar()->maximum());
    rig.capture(QStringLiteral("system/physics-running-window"), &window);
}, {QStringLiteral("physicsEffectsEnabled=true")}, [](Platform &platform) {
    auto icons = std::make_unique<FakeDesktopIconLocator>();
    icons->setFrames({{QStringLiteral("notes.txt"), QRectF(40, 40, 64, 64)}});
    platform.desktopIcons = std::move(icons);
}};

// The cursor chips at the window's minimum width: equal shares, wrapped before a label is cut.
const SceneRegistrar chipsNarrow{QStringLiteral("system/cursor-chips-620"), [](SceneRig &rig) {
    ControlWindow &window = rig.controlWindow(SettingsPage::system);
    window.resize(620, 500);
    rig.settle();
    rig.captureContent(QStringLiteral("system/cursor-chips-620"), window.findChild<CursorClicksPanel *>());
}, {QStringLiteral("cursorEffectStyleID=neon")}};

// The chaos banner over the desktop copy, fitted to its 620-point backing.
const SceneRegistrar chaosBanner{QStringLiteral("system/chaos-banner"), [](SceneRig &rig) {
    rig.app().start();
    rig.app().chaosEffects().trigger(ChaosMode::vortex);
    rig.settle(800);
    const auto &panels = rig.app().chaosEffects().panels();
    // The panel stays below every window: its own pixels are saved.
    if (!panels.empty() && panels.front())
        rig.captureContent(QStringLiteral("system/chaos-banner"), panels.front(), false);
    rig.app().chaosEffects().reset();
}, {QStringLiteral("physicsEffectsEnabled=true")}};

}

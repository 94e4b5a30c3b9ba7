// The tray panel under the tray's corner: live with input heard, paused, during a focus
// session, while a chaos run is on screen and with a screen toy in hand.
#include "SceneRig.h"

#include "Views/MenuBarPanel.h"
#include "Views/Panel/PanelToyMenu.h"

#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>

namespace {

// Access granted and a global key source running, so the status dot is green and toys equip.
void liveInput(Platform &platform)
{
    withGlobalKeys(platform);
    withToyPointer(platform);
    // The bundled packs live in the build tree, two levels above this program.
    platform.packResourceBundle =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../../KnockwellResources"));
}

// Started like the real application; the control window it opens at start goes away again
// so only the panel is on screen.
void startApp(SceneRig &rig)
{
    rig.app().start();
    rig.settle();
    if (ControlWindow *window = rig.windows().controlWindow())
        window->close();
}

// Opens the panel under where the tray sits in the desktop session (top right).
std::unique_ptr<MenuBarPanel> openPanel(SceneRig &rig)
{
    auto panel = std::make_unique<MenuBarPanel>(rig.app());
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    panel->popUp(QRect(available.right() - 60, 0, 24, 24), available);
    rig.settle();
    return panel;
}

// The panel after a start, as `settings` leave it.
Scene panelScene(const QString &name, const QStringList &settings)
{
    return {name,
            [name](SceneRig &rig) {
                startApp(rig);
                const auto panel = openPanel(rig);
                rig.capture(name, panel.get());
            },
            settings, liveInput};
}

const SceneRegistrar live{panelScene(QStringLiteral("panel/live"),
                                     {QStringLiteral("mouseEnabled=true"), QStringLiteral("statsOverlayEnabled=true")})};
const SceneRegistrar paused{panelScene(QStringLiteral("panel/paused"), {QStringLiteral("effectsPaused=true")})};

// Paused, then right after Resume: the rows and the panel's height change together.
const SceneRegistrar resumed{QStringLiteral("panel/resume"), [](SceneRig &rig) {
    startApp(rig);
    const auto panel = openPanel(rig);
    rig.capture(QStringLiteral("panel/resume-before"), panel.get());
    for (QPushButton *button : panel->findChildren<QPushButton *>()) {
        if (button->accessibleName() == QStringLiteral("Resume All Effects"))
            button->click();
    }
    QCoreApplication::processEvents();
    rig.captureContent(QStringLiteral("panel/resume-just-after"), panel.get(), false);
    rig.capture(QStringLiteral("panel/resume-after"), panel.get());
}, {QStringLiteral("effectsPaused=true")}, liveInput};

const SceneRegistrar focus{QStringLiteral("panel/focus-session"), [](SceneRig &rig) {
    startApp(rig);
    rig.app().startFocusSession();
    const auto panel = openPanel(rig);
    rig.capture(QStringLiteral("panel/focus-session"), panel.get());
    rig.app().focus().pause();
    rig.capture(QStringLiteral("panel/focus-session-paused"), panel.get());
    rig.app().focus().stop(false);
}, {QStringLiteral("focusMinutes=25")}, liveInput};

// The run's panels cover the screens, so the panel's own pixels are saved.
const SceneRegistrar chaos{QStringLiteral("panel/chaos-run"), [](SceneRig &rig) {
    startApp(rig);
    rig.app().chaosEffects().trigger(ChaosMode::vortex);
    const auto panel = openPanel(rig);
    rig.captureContent(QStringLiteral("panel/chaos-run"), panel.get());
    rig.app().chaosEffects().reset();
}, {QStringLiteral("physicsEffectsEnabled=true")}, liveInput};

const SceneRegistrar toy{QStringLiteral("panel/screen-toy"), [](SceneRig &rig) {
    startApp(rig);
    rig.app().screenToys().equip(ScreenToyKind::waterGun);
    const auto panel = openPanel(rig);
    rig.captureContent(QStringLiteral("panel/screen-toy"), panel.get());
    auto *toys = panel->findChild<PanelToyMenu *>();
    toys->menu()->popup(toys->button()->mapToGlobal(QPoint(0, toys->button()->height())));
    rig.captureContent(QStringLiteral("panel/screen-toy-menu"), toys->menu());
    toys->menu()->hide();
    rig.app().screenToys().stop();
}, {}, liveInput};

// A pack that failed to load: the previous one stays chosen, the reason under the picker.
const SceneRegistrar packError{QStringLiteral("panel/pack-load-error"), [](SceneRig &rig) {
    startApp(rig);
    rig.app().selectSoundPack(QStringLiteral("no-such-pack"), SoundChannel::keyboard);
    rig.settle();
    const auto panel = openPanel(rig);
    rig.capture(QStringLiteral("panel/pack-load-error"), panel.get());
}, {}, liveInput};

}

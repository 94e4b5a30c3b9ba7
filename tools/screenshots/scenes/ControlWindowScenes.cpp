// The control window: both sizes, every page, the header pills and the import alert.
#include "SceneRig.h"

#include "Services/Packs/PackImportErrors.h"
#include "Services/Packs/SoundPackManager.h"
#include "Views/ControlWindow.h"
#include "Views/Pages/ControlPage.h"

#include <QApplication>
#include <QDir>

namespace {

const SceneRegistrar defaultSize{QStringLiteral("control-window/760x680"), [](SceneRig &rig) {
    rig.capture(QStringLiteral("control-window/760x680"), &rig.controlWindow(SettingsPage::home));
}};

const SceneRegistrar minimumSize{QStringLiteral("control-window/620x500"), [](SceneRig &rig) {
    ControlWindow &window = rig.controlWindow(SettingsPage::home);
    window.resize(620, 500);
    rig.capture(QStringLiteral("control-window/620x500"), &window);
}};

const SceneRegistrar everyPage{QStringLiteral("control-window/page"), [](SceneRig &rig) {
    for (SettingsPage page : allCases<SettingsPage>())
        rig.capture(QStringLiteral("control-window/page-") + rawValue(page).toLower(), &rig.controlWindow(page));
}};

const SceneRegistrar pausedPills{QStringLiteral("control-window/pills-paused-app-only"), [](SceneRig &rig) {
    rig.capture(QStringLiteral("control-window/pills-paused-app-only"), &rig.controlWindow(SettingsPage::home));
}, {QStringLiteral("effectsPaused=true")}};

// Input monitoring granted and a global source running: "Global (input devices)".
const SceneRegistrar globalPills{
    liveControlWindowScene(QStringLiteral("control-window/pills-live-global-keys"), SettingsPage::home)};

const SceneRegistrar importAlert{QStringLiteral("control-window/import-alert"), [](SceneRig &rig) {
    ControlWindow &window = rig.controlWindow(SettingsPage::sounds);
    rig.app().packs().setLastError(PackImportError::message(PackImportError::noManifest));
    rig.capture(QStringLiteral("control-window/import-alert"), &window);
}};

const SceneRegistrar studio{QStringLiteral("control-window/studio-dialog"), [](SceneRig &rig) {
    ControlWindow &window = rig.controlWindow(SettingsPage::sounds);
    window.state().setClipStudioPresented(true);
    rig.capture(QStringLiteral("control-window/studio-dialog"), &window);
}};

// The smallest window: the studio's frame stays inside its client area and the page scrolls.
const SceneRegistrar studioSmallest{QStringLiteral("control-window/studio-620x500"), [](SceneRig &rig) {
    ControlWindow &window = rig.controlWindow(SettingsPage::sounds);
    window.resize(620, 500);
    rig.settle();
    window.state().setClipStudioPresented(true);
    rig.capture(QStringLiteral("control-window/studio-620x500"), &window);
}};

// A desktop whose body font is 9 points and names no smaller readable size: hints, card
// descriptions and tab titles stay at the readable size.
const SceneRegistrar smallDesktopFont{QStringLiteral("control-window/desktop-font-9pt"), [](SceneRig &rig) {
    const QFont saved = QApplication::font();
    QFont small(saved.family());
    small.setPointSizeF(9);
    QApplication::setFont(small);
    rig.app().start();
    for (SettingsPage page : {SettingsPage::sounds, SettingsPage::reactions}) {
        const QString name = QStringLiteral("control-window/desktop-font-9pt-") + rawValue(page).toLower();
        ControlWindow &window = rig.controlWindow(page);
        rig.capture(name, &window);
        // The whole page, its pack cards and their descriptions included.
        rig.captureContent(name + QStringLiteral("-content"), window.pageView(page)->widget());
    }
    rig.windows().controlWindow()->close();
    QApplication::setFont(saved);
}, {}, [](Platform &platform) {
    // The bundled packs, so their cards and descriptions show; they live in the build tree, two
    // levels above this program.
    platform.packResourceBundle =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../../KnockwellResources"));
}};

const SceneRegistrar oceanTheme{QStringLiteral("control-window/theme-ocean"), [](SceneRig &rig) {
    rig.capture(QStringLiteral("control-window/theme-ocean"), &rig.controlWindow(SettingsPage::focus));
}, {QStringLiteral("interfaceThemeID=ocean")}};

}

// Every page, the studio, a focus session and the tray panel as built, then after the desktop
// switched to the other scheme while they were open. "…-switched-dark.png" (from the light
// round) should look like "…-built-dark.png" (from the dark round), and the reverse.
#include "SceneRig.h"

#include "Views/ControlWindow.h"
#include "Views/Kit/KitAppearance.h"
#include "Views/Kit/KitStyle.h"
#include "Views/MenuBarPanel.h"
#include "fakes/FakeColorSchemeSource.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace {

// The application's own packs, so the grids show what a user sees.
void bundledPacks(Platform &platform)
{
    withGlobalKeys(platform);
    platform.packResourceBundle =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../../KnockwellResources"));
}

// Captures `window` as built, switches the desktop to the other scheme the way the portal
// does, captures it again and goes back.
void captureAcrossSwitch(SceneRig &rig, const QString &name, QWidget *window)
{
    rig.capture(name + QStringLiteral("-built"), window);
    const QPalette shown = QApplication::palette();
    FakeColorSchemeSource desktop;
    const KitAppearance appearance(desktop);
    desktop.set(KitStyle::scheme(shown) == ColorScheme::dark ? ColorSchemePreference::light
                                                               : ColorSchemePreference::dark);
    rig.capture(name + QStringLiteral("-switched"), window);
    desktop.set(ColorSchemePreference::noPreference);
    rig.settle();
}

const SceneRegistrar pages{{QStringLiteral("live-switch/page"),
                            [](SceneRig &rig) {
                                rig.app().start();
                                for (SettingsPage page : allCases<SettingsPage>())
                                    captureAcrossSwitch(rig, QStringLiteral("live-switch/page-") + rawValue(page).toLower(),
                                                        &rig.controlWindow(page));
                                rig.app().startFocusSession();
                                captureAcrossSwitch(rig, QStringLiteral("live-switch/focus-session"),
                                                    &rig.controlWindow(SettingsPage::focus));
                                rig.app().focus().stop(false);
                                ControlWindow &window = rig.controlWindow(SettingsPage::sounds);
                                window.state().setClipStudioPresented(true);
                                rig.settle();
                                captureAcrossSwitch(rig, QStringLiteral("live-switch/studio"), window.studioSheet());
                                window.state().setClipStudioPresented(false);
                                window.close();
                                MenuBarPanel panel(rig.app());
                                const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
                                panel.popUp(QRect(available.right() - 60, 0, 24, 24), available);
                                captureAcrossSwitch(rig, QStringLiteral("live-switch/panel"), &panel);
                            },
                            {QStringLiteral("typingEnabled=true")}, bundledPacks}};

}

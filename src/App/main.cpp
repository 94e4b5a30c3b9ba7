#include "App/AppController.h"
#include "App/AppWindows.h"
#include "App/InstallLocationNotice.h"
#include "App/LaunchOrder.h"
#include "Foundation/ApplicationId.h"
#include "Platform/Linux/LinuxPlatform.h"
#include "Platform/Linux/PortalColorSchemeSource.h"
#include "Platform/Linux/SessionEndWatcher.h"
#include "Platform/Linux/TerminationSignals.h"
#include "Services/ResourceBundle.h"
#include "Views/Kit/KitAppearance.h"
#include "Views/Kit/KitControlStyle.h"

#include <QApplication>
#include <QDBusConnection>

int main(int argc, char **argv)
{
    // Global input and window placement need X11; under Wayland run through XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plinkly"));
    QApplication::setDesktopFileName(applicationId);
    QApplication::setQuitOnLastWindowClosed(false);
    KitControlStyle::install();
    // Light or dark as the desktop wishes, followed while running.
    PortalColorSchemeSource colorScheme(QDBusConnection::sessionBus());
    KitAppearance appearance(colorScheme);
    // Logout and `kill` end the event loop, so the normal quit path saves what is unsaved.
    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested, &app, &QCoreApplication::quit);

    Platform platform = LinuxPlatform::create();
    AppShell &shell = *platform.shell;
    AppController controller(std::move(platform));
    AppWindows windows(controller);
    SessionEndWatcher sessionEnd(QDBusConnection::systemBus());
    QObject::connect(&sessionEnd, &SessionEndWatcher::sessionEnding, &controller, [&controller] {
        if (controller.isStarted())
            controller.saveState();
    });

    // The first window shows in the desktop's scheme: the portal usually answers within a few
    // milliseconds; a slow one is not waited for long, and its answer restyles what is shown.
    appearance.whenKnown(&controller, [&] {
        if (!InstallLocationNotice::allowsLaunch(shell)) {
            QCoreApplication::quit();
            return;
        }
        if (!ResourceBundle::isAvailable())
            shell.showCriticalAlert(QStringLiteral("Plinkly can’t find its sounds"),
                                    QStringLiteral("The folder of built-in sounds is missing (looked for ")
                                        + ResourceBundle::path()
                                        + QStringLiteral("). Plinkly keeps running, but the built-in packs and "
                                                         "reaction sounds stay silent. Reinstall Plinkly to get them "
                                                         "back."));
        LaunchOrder::start(controller, windows);
    }, std::chrono::milliseconds(400));
    return app.exec();
}

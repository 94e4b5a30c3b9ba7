#include "App/AppController.h"
#include "App/AppWindows.h"
#include "App/InstallLocationNotice.h"
#include "Platform/Linux/LinuxPlatform.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char **argv)
{
    // Global input and window placement need X11; under Wayland run through XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plinkly"));
    QApplication::setDesktopFileName(QStringLiteral("plinkly"));
    QApplication::setQuitOnLastWindowClosed(false);

    Platform platform = LinuxPlatform::create();
    AppShell &shell = *platform.shell;
    AppController controller(std::move(platform));
    AppWindows windows(controller);

    QTimer::singleShot(0, &controller, [&] {
        if (!InstallLocationNotice::allowsLaunch(shell)) {
            QCoreApplication::quit();
            return;
        }
        controller.start();
        // A copy that did not start (another one runs) shows no icon of its own.
        if (controller.isStarted())
            windows.showTray();
    });
    return app.exec();
}

// Shows the control window on the System page over the real desktop and says where its
// controls are, so desktop tests can press them with real clicks. Commands on standard input,
// answers on standard output:
//   where NAME...   scrolls the control named NAME into view; "X Y", its centre on the screen
//   quit
#include "App/AppController.h"
#include "App/AppWindows.h"
#include "Platform/Linux/LinuxPlatform.h"
#include "Views/ControlWindow.h"
#include "Views/Pages/ControlPage.h"
#include "support/ProbeCommandLoop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QScrollArea>

namespace {

QString where(ControlWindow &window, const QString &name)
{
    auto *page = static_cast<QScrollArea *>(window.pageView(SettingsPage::system));
    for (QAbstractButton *button : page->findChildren<QAbstractButton *>()) {
        if (button->accessibleName() != name || !button->isVisibleTo(page))
            continue;
        page->ensureWidgetVisible(button, 0, 60);
        QCoreApplication::processEvents();
        const QPoint centre = button->mapToGlobal(button->rect().center());
        return QStringLiteral("%1 %2").arg(centre.x()).arg(centre.y());
    }
    return QStringLiteral("none");
}

}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("plinkly"));
    AppController controller(LinuxPlatform::create());
    AppWindows windows(controller);
    controller.start();
    controller.showControlPanel(SettingsPage::system);

    const ProbeCommandLoop commands([&](const QStringList &words) {
        if (words.value(0) == QLatin1String("where") && words.size() > 1)
            return where(*windows.controlWindow(), words.mid(1).join(u' '));
        return QStringLiteral("unknown command");
    });
    return app.exec();
}

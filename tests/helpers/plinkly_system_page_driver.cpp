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

#include <QAbstractButton>
#include <QApplication>
#include <QScrollArea>
#include <QSocketNotifier>

#include <iostream>
#include <unistd.h>

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

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, qsizetype(count));
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end)).trimmed();
            pending.remove(0, end + 1);
            QString answer;
            if (line.startsWith(QLatin1String("where ")))
                answer = where(*windows.controlWindow(), line.mid(6));
            else if (line == QLatin1String("quit"))
                QCoreApplication::quit();
            else
                answer = QStringLiteral("unknown command");
            if (!answer.isEmpty())
                std::cout << answer.toStdString() << std::endl;
        }
    });
    return app.exec();
}

// Shows a window of its own and answers questions about the desktop's applications from
// lines on standard input, so desktop tests can watch the X11 workspace. Activations are
// appended to the file argv[1] as "ID|NAME" lines; answers go to standard output.
//   watch      starts reporting activations ("ok" or "unavailable")
//   front      the frontmost application as "ID|NAME", or "none"
//   running    the running applications as "ID|NAME" joined by ","
//   quit
#include "Platform/Linux/X11Workspace.h"

#include <QApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QWidget>

#include <iostream>
#include <unistd.h>

namespace {

QString describe(const WorkspaceApplication &application)
{
    return application.identifier + u'|' + application.name;
}

QString run(X11Workspace &workspace, const QString &logPath, const QString &command)
{
    if (command == QLatin1String("watch")) {
        const bool watching = workspace.watchActivations([logPath](const WorkspaceApplication &application) {
            QFile log(logPath);
            if (log.open(QIODevice::Append | QIODevice::Text))
                log.write((describe(application) + u'\n').toUtf8());
        });
        return watching ? QStringLiteral("ok") : QStringLiteral("unavailable");
    }
    if (command == QLatin1String("front")) {
        const auto front = workspace.frontmostApplication();
        return front ? describe(*front) : QStringLiteral("none");
    }
    if (command == QLatin1String("running")) {
        QStringList running;
        for (const WorkspaceApplication &application : workspace.runningApplications())
            running.append(describe(application));
        return running.join(u',');
    }
    if (command == QLatin1String("quit")) {
        QCoreApplication::quit();
        return QStringLiteral("ok");
    }
    return QStringLiteral("unknown command");
}

}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString logPath = QString::fromLocal8Bit(argv[1]);
    QApplication::setDesktopFileName(QStringLiteral("plinkly"));
    X11Workspace workspace(QStringLiteral("plinkly"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Plinkly workspace probe"));
    window.setGeometry(700, 100, 300, 200);
    window.show();

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
            const QString command = QString::fromUtf8(pending.left(end)).trimmed();
            pending.remove(0, end + 1);
            std::cout << run(workspace, logPath, command).toStdString() << std::endl;
        }
    });
    return app.exec();
}

// Shows a window of its own and answers questions about the desktop's applications from
// lines on standard input, so desktop tests can watch the X11 workspace. Activations are
// appended to the file argv[1] as "ID|NAME" lines; answers go to standard output.
//   watch      starts reporting activations ("ok" or "unavailable")
//   front      the frontmost application as "ID|NAME", or "none"
//   running    the running applications as "ID|NAME" joined by ","
//   quit
#include "Platform/Linux/X11Workspace.h"
#include "support/ProbeCommandLoop.h"
#include "support/ProbeLog.h"

#include <QApplication>
#include <QWidget>

namespace {

QString describe(const WorkspaceApplication &application)
{
    return application.identifier + u'|' + application.name;
}

QString run(X11Workspace &workspace, const QString &logPath, const QString &command)
{
    if (command == QLatin1String("watch")) {
        const bool watching = workspace.watchActivations(
            [logPath](const WorkspaceApplication &application) { appendProbeLine(logPath, describe(application)); });
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

    const ProbeCommandLoop commands(
        [&](const QStringList &words) { return run(workspace, logPath, words.join(u' ')); });
    return app.exec();
}

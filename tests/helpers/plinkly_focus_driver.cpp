// Runs focus sessions through the application controller on the real desktop, from lines on
// standard input, so desktop tests can watch the app guard against real windows. The pet's moods and lines are appended to the file
// argv[1] as "MOOD|LINE"; answers go to standard output.
//   start MINUTES [ALLOWED_ID...]   starts a session from the settings, nudges on
//   status                          the session's status line
//   stop                            stops the session as not completed
//   records                         the journal's record count, then "completed active-seconds" of the newest
//   quit
#include "App/AppController.h"
#include "Platform/Linux/LinuxPlatform.h"
#include "support/ProbeCommandLoop.h"
#include "support/ProbeLog.h"

#include <QApplication>

namespace {

QString run(AppController &controller, const QStringList &words)
{
    SettingsStore &settings = controller.settings();
    const QList<FocusSessionRecord> &records = controller.journal().records();
    const QString command = words.value(0);
    if (command == QLatin1String("start") && words.size() >= 2) {
        settings.setFocusMinutes(words[1].toInt());
        settings.setFocusAllowedBundleIDs(words.mid(2));
        settings.setFocusNudgesEnabled(true);
        controller.startFocusSession();
    } else if (command == QLatin1String("status")) {
        return controller.focus().statusText();
    } else if (command == QLatin1String("stop")) {
        controller.handlePetAction(PetAction::stopFocus);
    } else if (command == QLatin1String("records")) {
        if (records.isEmpty())
            return QStringLiteral("0");
        const FocusSessionRecord &newest = records.first();
        return QStringLiteral("%1 %2 %3")
            .arg(records.size())
            .arg(newest.completed ? QStringLiteral("completed") : QStringLiteral("stopped"))
            .arg(newest.activeSeconds.value_or(-1));
    } else {
        return QStringLiteral("unknown command");
    }
    return QStringLiteral("ok");
}

}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString petLog = QString::fromLocal8Bit(argv[1]);
    QApplication::setDesktopFileName(QStringLiteral("plinkly"));
    AppController controller(LinuxPlatform::create());
    controller.focusController().onPetUpdate = [petLog](PetMood mood, const QString &line) {
        appendProbeLine(petLog, rawValue(mood) + u'|' + line);
    };

    const ProbeCommandLoop commands([&](const QStringList &words) { return run(controller, words); });
    return app.exec();
}

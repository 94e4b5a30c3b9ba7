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

#include <QApplication>
#include <QFile>
#include <QSocketNotifier>

#include <iostream>
#include <unistd.h>

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
    } else if (command == QLatin1String("quit")) {
        QCoreApplication::quit();
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
        QFile log(petLog);
        if (log.open(QIODevice::Append | QIODevice::Text))
            log.write((rawValue(mood) + u'|' + line + u'\n').toUtf8());
    };

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
            const QStringList words = QString::fromUtf8(pending.left(end)).split(u' ', Qt::SkipEmptyParts);
            pending.remove(0, end + 1);
            std::cout << run(controller, words).toStdString() << std::endl;
        }
    });
    return app.exec();
}

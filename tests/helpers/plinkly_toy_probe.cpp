// Equips the screen toys on a real display from lines on standard input, with the session's
// own pointer, keys and compositor check, so desktop tests can click and look. Answers every
// line with "ok" or the asked value.
//   equip KIND [TONE]    a ScreenToyKind, and a ScreenToyHandTone (original when left out)
//   toy                  the equipped kind, or "none"
//   marks                the mark count
//   status               the status line
//   stop | quit
#include "Effects/ScreenToys/ScreenToyController.h"
#include "Platform/Linux/DesktopReduceMotionProbe.h"
#include "Platform/Linux/LinuxInputCapture.h"
#include "Platform/Linux/SdlAudioOutput.h"
#include "Platform/Linux/X11GlobalPointer.h"
#include "Platform/Linux/X11OverlayWindowSupport.h"

#include <QApplication>
#include <QSocketNotifier>

#include <iostream>
#include <unistd.h>

namespace {
QString run(ScreenToyController &toys, const QStringList &words)
{
    const QString command = words.value(0);
    if (command == QLatin1String("equip") && words.size() >= 2) {
        const auto kind = fromRaw<ScreenToyKind>(words[1]);
        if (!kind)
            return QStringLiteral("bad kind");
        toys.setHandTone(fromRawOrFirst<ScreenToyHandTone>(words.value(2)));
        if (!toys.equip(*kind))
            return toys.status().value_or(QStringLiteral("refused"));
    } else if (command == QLatin1String("toy")) {
        return toys.activeToy() ? rawValue(*toys.activeToy()) : QStringLiteral("none");
    } else if (command == QLatin1String("marks")) {
        return QString::number(toys.markCount());
    } else if (command == QLatin1String("status")) {
        return toys.status().value_or(QStringLiteral("none"));
    } else if (command == QLatin1String("stop")) {
        toys.stop();
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
    X11GlobalPointer pointer;
    LinuxInputCapture keys;
    X11OverlayWindowSupport overlays;
    DesktopReduceMotionProbe motion;
    SystemClock clock;
    ScreenToyController toys([] { return true; }, {pointer, keys, overlays, motion, nullptr},
                             std::make_unique<ScreenToySound>(std::make_unique<SdlAudioOutput>()), clock);

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
            const QStringList words = QString::fromUtf8(pending.left(end)).split(' ', Qt::SkipEmptyParts);
            pending.remove(0, end + 1);
            std::cout << run(toys, words).toStdString() << std::endl;
        }
    });
    return app.exec();
}

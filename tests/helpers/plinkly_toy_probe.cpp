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
#include "support/ProbeCommandLoop.h"

#include <QApplication>

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

    const ProbeCommandLoop commands([&](const QStringList &words) { return run(toys, words); });
    return app.exec();
}

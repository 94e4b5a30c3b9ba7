// Runs desktop physics on a real display from lines on standard input, with Esc heard
// through the global keyboard source as the application hears it. Answers every line.
//   trigger MODE     a ChaosMode raw value; answers "ok"
//   state            "active MODE PANELS" or "idle LAST-EFFECT-NAME"
//   item I           Qt global position of item I on the first screen: "X Y"
//   icons            the desktop icons found: "N" and "TITLE=X,Y" for each, by title
//   keys off         stops the global key source, as on a session without one
//   reset | quit
#include "Effects/Chaos/ChaosEffectController.h"
#include "Effects/Chaos/ChaosPanel.h"
#include "Platform/Linux/AtspiDesktopIconLocator.h"
#include "Platform/Linux/LinuxDesktopPictureSource.h"
#include "Platform/Linux/LinuxInputCapture.h"
#include "Platform/Linux/X11OverlayWindowSupport.h"
#include "Platform/Linux/XkbKeyLabelSource.h"
#include "Services/Input/KeyboardMonitor.h"
#include "support/ProbeCommandLoop.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

namespace {
QString run(ChaosEffectController &chaos, DesktopIconLocator &icons, KeyboardMonitor &keyboard, const QStringList &words)
{
    const QString command = words.value(0);
    if (command == QLatin1String("keys") && words.value(1) == QLatin1String("off")) {
        keyboard.stop();
        return QStringLiteral("ok");
    }
    if (command == QLatin1String("icons")) {
        DesktopIconLocator::Positions found;
        QEventLoop answered;
        bool done = false;
        icons.findPositions([&](const DesktopIconLocator::Sight &sight) {
            found = sight.positions;
            done = true;
            answered.quit();
        });
        if (!done)
            answered.exec();
        QStringList titles = found.keys();
        titles.sort();
        QString reply = QString::number(found.size());
        for (const QString &title : titles)
            reply += QStringLiteral(" %1=%2,%3").arg(title).arg(found[title].x()).arg(found[title].y());
        return reply;
    }
    if (command == QLatin1String("trigger")) {
        const auto mode = fromRaw<ChaosMode>(words.value(1));
        if (!mode)
            return QStringLiteral("unknown mode");
        // The run starts once the icon frames are in.
        QEventLoop started;
        QObject::connect(&chaos, &ChaosEffectController::isActiveChanged, &started, &QEventLoop::quit);
        QTimer::singleShot(5000, &started, &QEventLoop::quit);
        chaos.trigger(*mode);
        if (!chaos.isActive())
            started.exec();
        return QStringLiteral("ok");
    }
    if (command == QLatin1String("state")) {
        if (const auto mode = chaos.activeMode())
            return QStringLiteral("active %1 %2").arg(rawValue(*mode)).arg(chaos.panels().size());
        return QStringLiteral("idle ") + chaos.lastEffectName();
    }
    if (command == QLatin1String("item")) {
        if (chaos.panels().empty() || !chaos.panels().front())
            return QStringLiteral("no panel");
        ChaosPanel &panel = *chaos.panels().front();
        const int index = words.value(1).toInt();
        if (index < 0 || index >= panel.scene().itemCount())
            return QStringLiteral("no item");
        const QPointF p = panel.scene().itemPosition(index);
        const QPoint global = panel.mapToGlobal(QPointF(p.x(), panel.height() - p.y())).toPoint();
        return QStringLiteral("%1 %2").arg(global.x()).arg(global.y());
    }
    if (command == QLatin1String("reset")) {
        chaos.reset();
        return QStringLiteral("ok");
    }
    return QStringLiteral("unknown command");
}
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    X11OverlayWindowSupport windows;
    AtspiDesktopIconLocator icons;
    LinuxDesktopPictureSource pictures;
    LinuxInputCapture capture;
    XkbKeyLabelSource labels;
    KeyboardMonitor keyboard(capture, labels);
    ChaosEffectController chaos(windows, icons, pictures);
    keyboard.onEvent = [&chaos](const KeySoundEvent &event) { chaos.handleGlobalKey(event); };
    keyboard.start();
    chaos.hearsGlobalKeys = [&keyboard] { return keyboard.isRunning(); };
    chaos.start();

    const ProbeCommandLoop commands([&](const QStringList &words) { return run(chaos, icons, keyboard, words); });
    const int result = app.exec();
    chaos.stop();
    keyboard.stop();
    return result;
}

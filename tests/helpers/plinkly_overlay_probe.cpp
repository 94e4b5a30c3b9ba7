// Drives the overlay coordinator from lines on standard input, so desktop tests can show
// each overlay on a real display. Answers every line with "ok" (or the asked number).
//   ripple X Y STYLE            Qt coordinates (y down), a CursorRippleStyle
//   flash
//   system EVENT [STYLE]        chargerConnected | chargerDisconnected | fullyCharged |
//                               lowBattery:N | willSleep | didWake; a ChargingVisualStyle
//   arrival EVENT               download:WEIGHT | volumeConnected | volumeDisconnected |
//                               displayConnected | displayDisconnected
//   lid STYLE PROGRESS ANGLE visible|hidden
//   hud KEYS CLICKS PER-MINUTE [KEY]   shows the typing HUD at its default place
//   count                       the number of panels on screen
//   reset | quit
#include "Effects/OverlayCoordinator.h"
#include "Effects/StatsOverlayController.h"
#include "Foundation/ScreenGeometry.h"
#include "Foundation/Scheduler.h"
#include "Platform/Linux/X11OverlayWindowSupport.h"
#include "support/ProbeCommandLoop.h"

#include <QApplication>

namespace {

std::optional<SystemReactionEvent> systemEvent(const QString &text)
{
    using Kind = SystemReactionEvent::Kind;
    if (text.startsWith(QLatin1String("lowBattery:")))
        return SystemReactionEvent::lowBattery(text.section(':', 1).toInt());
    const std::pair<const char *, Kind> names[] = {
        {"chargerConnected", Kind::chargerConnected}, {"chargerDisconnected", Kind::chargerDisconnected},
        {"fullyCharged", Kind::fullyCharged},         {"willSleep", Kind::willSleep},
        {"didWake", Kind::didWake}};
    for (const auto &[name, kind] : names) {
        if (text == QLatin1String(name))
            return SystemReactionEvent::of(kind);
    }
    return std::nullopt;
}

std::optional<ArrivalReactionEvent> arrivalEvent(const QString &text)
{
    using Kind = ArrivalReactionEvent::Kind;
    if (text.startsWith(QLatin1String("download:"))) {
        if (auto weight = fromRaw<DownloadWeight>(text.section(':', 1)))
            return ArrivalReactionEvent::download(*weight);
        return std::nullopt;
    }
    const std::pair<const char *, Kind> names[] = {{"volumeConnected", Kind::volumeConnected},
                                                   {"volumeDisconnected", Kind::volumeDisconnected},
                                                   {"displayConnected", Kind::displayConnected},
                                                   {"displayDisconnected", Kind::displayDisconnected}};
    for (const auto &[name, kind] : names) {
        if (text == QLatin1String(name))
            return ArrivalReactionEvent::of(kind);
    }
    return std::nullopt;
}

QString run(OverlayCoordinator &overlays, StatsOverlayController &hud, const QStringList &words)
{
    const QString command = words.value(0);
    if (command == QLatin1String("ripple") && words.size() == 4) {
        const auto style = fromRaw<CursorRippleStyle>(words[3]);
        if (!style)
            return QStringLiteral("bad style");
        const QPointF qtPoint(words[1].toDouble(), words[2].toDouble());
        overlays.showCursorRipple(ScreenGeometry::fromQt(qtPoint, ScreenGeometry::primaryScreenHeight()), *style);
    } else if (command == QLatin1String("flash")) {
        overlays.flashScreenshot();
    } else if (command == QLatin1String("system") && words.size() >= 2) {
        const auto event = systemEvent(words[1]);
        if (!event)
            return QStringLiteral("bad event");
        overlays.showSystemReaction(*event, fromRawOrFirst<ChargingVisualStyle>(words.value(2)));
    } else if (command == QLatin1String("arrival") && words.size() == 2) {
        const auto event = arrivalEvent(words[1]);
        if (!event)
            return QStringLiteral("bad event");
        overlays.showArrival(*event);
    } else if (command == QLatin1String("lid") && words.size() == 5) {
        overlays.updateLidMotion(words[2].toDouble(), words[3].toDouble(), fromRawOrFirst<LidDanceStyle>(words[1]),
                                 words[4] == QLatin1String("visible"));
    } else if (command == QLatin1String("hud") && words.size() >= 4) {
        hud.presentation().update({words[1].toULongLong(), words[2].toULongLong(), words[3].toInt()});
        hud.presentation().showKey(words.value(4));
        hud.setVisible(true);
    } else if (command == QLatin1String("count")) {
        return QString::number(overlays.panels().size());
    } else if (command == QLatin1String("reset")) {
        overlays.reset();
    } else {
        return QStringLiteral("unknown command");
    }
    return QStringLiteral("ok");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    X11OverlayWindowSupport support;
    QtScheduler scheduler;
    OverlayCoordinator overlays(support, scheduler);
    StatsOverlayController hud(support, scheduler);

    const ProbeCommandLoop commands([&](const QStringList &words) { return run(overlays, hud, words); });
    return app.exec();
}

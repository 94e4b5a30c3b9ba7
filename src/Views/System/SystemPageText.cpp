#include "Views/System/SystemPageText.h"

#include "Views/Kit/SettingsText.h"

#include <QDir>

namespace SystemPageText {

QString lidAngle(std::optional<double> degrees)
{
    const std::optional<qint64> whole = degrees ? SettingsText::wholeNumber(*degrees) : std::nullopt;
    if (!whole)
        return QStringLiteral("Lid angle: turn on to read");
    return QStringLiteral("Lid angle: %1\u00B0").arg(*whole);
}

SymbolText lidChip(LidDanceStyle style)
{
    QString title = rawValue(style);
    title[0] = title[0].toUpper();
    switch (style) {
    case LidDanceStyle::tide: return {title, QStringLiteral("water.waves")};
    case LidDanceStyle::aurora: return {title, QStringLiteral("sparkles")};
    case LidDanceStyle::orbit: return {title, QStringLiteral("circle.hexagongrid")};
    case LidDanceStyle::sunrise: return {title, QStringLiteral("sun.horizon")};
    case LidDanceStyle::prism: return {title, QStringLiteral("triangle")};
    }
    return {title, {}};
}

SymbolText chargingChip(ChargingVisualStyle style)
{
    switch (style) {
    case ChargingVisualStyle::burst: return {QStringLiteral("Energy burst"), QStringLiteral("bolt.circle.fill")};
    case ChargingVisualStyle::quiet: return {QStringLiteral("Quiet pulse"), QStringLiteral("circle.dotted.circle")};
    }
    return {};
}

SymbolText cursorChip(CursorRippleStyle style)
{
    switch (style) {
    case CursorRippleStyle::bubbles: return {QStringLiteral("Bubbles"), QStringLiteral("circle.hexagongrid.fill")};
    case CursorRippleStyle::stars: return {QStringLiteral("Tiny Stars"), QStringLiteral("sparkles")};
    case CursorRippleStyle::neon: return {QStringLiteral("Neon Pulse"), QStringLiteral("dot.radiowaves.left.and.right")};
    case CursorRippleStyle::petals: return {QStringLiteral("Petals"), QStringLiteral("camera.macro")};
    case CursorRippleStyle::crosshair: return {QStringLiteral("Crosshair"), QStringLiteral("scope")};
    }
    return {};
}

SymbolText chaosButton(ChaosMode mode)
{
    const QString name = ChaosModes::displayName(mode);
    switch (mode) {
    case ChaosMode::gravity: return {name, QStringLiteral("arrow.down.to.line.compact")};
    case ChaosMode::zeroGravity: return {name, QStringLiteral("sparkles")};
    case ChaosMode::vortex: return {name, QStringLiteral("tornado")};
    case ChaosMode::earthquake: return {name, QStringLiteral("waveform.path.ecg")};
    }
    return {name, {}};
}

BatteryLook batteryLook(const PowerSnapshot &snapshot)
{
    const int percent = snapshot.percent;
    BatteryLook look;
    if (snapshot.isOnACPower)
        look.symbol = QStringLiteral("battery.100percent.bolt");
    else if (percent <= 10)
        look.symbol = QStringLiteral("battery.0percent");
    else if (percent <= 35)
        look.symbol = QStringLiteral("battery.25percent");
    else if (percent <= 65)
        look.symbol = QStringLiteral("battery.50percent");
    else if (percent <= 90)
        look.symbol = QStringLiteral("battery.75percent");
    else
        look.symbol = QStringLiteral("battery.100percent");
    if (percent <= 10)
        look.color = ColorRole::red;
    else if (snapshot.isOnACPower)
        look.color = ColorRole::green;
    return look;
}

QString batteryLevel(const PowerSnapshot &snapshot)
{
    return QStringLiteral("%1% battery").arg(snapshot.percent);
}

QString powerState(const PowerSnapshot &snapshot)
{
    if (snapshot.isCharging)
        return QStringLiteral("Charging");
    if (snapshot.isOnACPower)
        return QStringLiteral("Connected to power");
    return QStringLiteral("Running on battery");
}

SymbolText arrivalStatus(bool observing, const QString &lastEventText)
{
    if (observing)
        return {lastEventText, QStringLiteral("wave.3.right.circle.fill")};
    return {QStringLiteral("Arrival listeners are off"), QStringLiteral("pause.circle")};
}

SymbolText screenshotWatcher(bool observing, const std::optional<QString> &watchedDirectory)
{
    if (!observing)
        return {QStringLiteral("Watcher is off"), QStringLiteral("eye.slash")};
    const QString folder = watchedDirectory ? QDir(*watchedDirectory).dirName() : QStringLiteral("Desktop");
    return {QStringLiteral("Watching ") + folder, QStringLiteral("eye.fill")};
}

QString chaosRunning(std::optional<ChaosMode> mode)
{
    return (mode ? ChaosModes::displayName(*mode) : QStringLiteral("Effect")) + QStringLiteral(" is running");
}

}

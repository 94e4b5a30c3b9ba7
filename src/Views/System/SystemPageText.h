#pragma once

#include "Effects/Chaos/ChaosMode.h"
#include "Effects/ChargingVisualStyle.h"
#include "Effects/CursorRippleStyle.h"
#include "Effects/LidDanceStyle.h"
#include "Platform/PowerSnapshot.h"
#include "Views/Kit/KitStyle.h"

#include <QString>

#include <optional>

// What the System page's rows show for the values they read. Every function is pure.
namespace SystemPageText {

// A text with the symbol drawn before it.
struct SymbolText {
    QString text;
    QString symbol;
    friend bool operator==(const SymbolText &, const SymbolText &) = default;
};

// "Lid angle: 47°" (truncated toward zero), or "Lid angle: turn on to read" without a
// reading or for one that is no usable number.
QString lidAngle(std::optional<double> degrees);
// The chip of a lid style: its raw value with the first letter capitalised, and its symbol.
SymbolText lidChip(LidDanceStyle style);
SymbolText chargingChip(ChargingVisualStyle style);
SymbolText cursorChip(CursorRippleStyle style);
// The mode's button: its display name and symbol.
SymbolText chaosButton(ChaosMode mode);

// The battery picture: its symbol and colour, red at 10 % or less even on power.
struct BatteryLook {
    QString symbol;
    ColorRole color = ColorRole::primary;
    friend bool operator==(const BatteryLook &, const BatteryLook &) = default;
};
BatteryLook batteryLook(const PowerSnapshot &snapshot);
// "57% battery".
QString batteryLevel(const PowerSnapshot &snapshot);
// "Charging", "Connected to power" or "Running on battery".
QString powerState(const PowerSnapshot &snapshot);

// The arrival listeners' line: the last event while they run, otherwise that they are off.
SymbolText arrivalStatus(bool observing, const QString &lastEventText);
// The screenshot watcher's line: the watched folder's name ("Desktop" when none is known)
// while it watches, otherwise that it is off.
SymbolText screenshotWatcher(bool observing, const std::optional<QString> &watchedDirectory);
// "<mode> is running", "Effect is running" when no mode is known.
QString chaosRunning(std::optional<ChaosMode> mode);

}

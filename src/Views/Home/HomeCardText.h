#pragma once

#include "Platform/PowerSnapshot.h"
#include "Services/InterfaceTheme.h"

#include <QString>

#include <optional>

// The subtitles of the Home page's dashboard cards and the names of its colour swatches.
namespace HomeCardText {
QString desktopPet(bool petEnabled);
// While a session runs: its countdown (minutes never folded into hours) and status.
QString focusBuddy(bool sessionActive, int remainingSeconds, const QString &statusText);
// `packName` is the selected keyboard pack's name when a loaded pack has that identifier.
QString typingSounds(bool typingEnabled, const std::optional<QString> &packName);
QString systemReactions(const std::optional<PowerSnapshot> &power);
// The theme's raw value with its first letter in upper case.
QString themeName(InterfaceTheme theme);
}

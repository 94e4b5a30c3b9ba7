#pragma once

#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <optional>

// Reads a stored value as one type, or nothing when it is missing, of another type, or not
// a finite number; the caller then falls back to the default. The INI file keeps scalars
// as text, so text of the right shape counts as the type.
namespace SettingsValue {
std::optional<bool> toBool(const QVariant &value);
std::optional<double> toDouble(const QVariant &value);
std::optional<int> toInt(const QVariant &value);
std::optional<std::uint64_t> toCount(const QVariant &value);
std::optional<QString> toString(const QVariant &value);
std::optional<QStringList> toStringList(const QVariant &value);
}

#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Display labels of at most four characters: the key caps of a US layout and short names
// for the keys that print nothing. Used where the system offers no keyboard layout, and for
// the non-printing keys of every layout.
namespace KeyLabelTable {
inline constexpr qsizetype maximumLength = 4;

std::optional<QString> label(std::uint16_t keyCode);
// Labels for keys that print nothing (Esc, arrows, modifiers, F-keys, ...).
std::optional<QString> namedKeyLabel(std::uint16_t keyCode);
// The first four characters (code points) of a text, for labels made from layout symbols.
QString clipped(const QString &text);
}

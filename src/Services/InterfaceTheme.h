#pragma once

#include "Foundation/RawEnum.h"

#include <QColor>

// The interface accent colour.
enum class InterfaceTheme { violet, ocean, mint, sunset, rose, forest };

template <>
struct RawEnumTable<InterfaceTheme> {
    static constexpr std::array entries{
        RawEnumEntry{InterfaceTheme::violet, "violet"}, RawEnumEntry{InterfaceTheme::ocean, "ocean"},
        RawEnumEntry{InterfaceTheme::mint, "mint"},     RawEnumEntry{InterfaceTheme::sunset, "sunset"},
        RawEnumEntry{InterfaceTheme::rose, "rose"},     RawEnumEntry{InterfaceTheme::forest, "forest"},
    };
};

namespace InterfaceThemes {
QColor accent(InterfaceTheme theme);
// The accent of the stored theme identifier, violet when it names no theme.
QColor accent(const QString &themeID);
}

#pragma once

#include "Foundation/RawEnum.h"

#include <QColor>
#include <QHashFunctions>

// Skin tone of the hands in the toys' first-person artwork.
enum class ScreenToyHandTone { original, light, tan, brown, deep };

template <>
struct RawEnumTable<ScreenToyHandTone> {
    static constexpr std::array entries{
        RawEnumEntry{ScreenToyHandTone::original, "original"},
        RawEnumEntry{ScreenToyHandTone::light, "light"},
        RawEnumEntry{ScreenToyHandTone::tan, "tan"},
        RawEnumEntry{ScreenToyHandTone::brown, "brown"},
        RawEnumEntry{ScreenToyHandTone::deep, "deep"},
    };
};

inline size_t qHash(ScreenToyHandTone tone, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(tone), seed);
}

namespace ScreenToyHandTones {
// The swatch the settings show for the tone.
QColor color(ScreenToyHandTone tone);
}

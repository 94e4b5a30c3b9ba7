#pragma once

#include "Foundation/RawEnum.h"

#include <QHashFunctions>
#include <QString>

// The toys that can be equipped; the raw value is also the identity.
enum class ScreenToyKind { blaster, whip, waterGun, ak47, grenade };

template <>
struct RawEnumTable<ScreenToyKind> {
    static constexpr std::array entries{
        RawEnumEntry{ScreenToyKind::blaster, "blaster"},
        RawEnumEntry{ScreenToyKind::whip, "whip"},
        RawEnumEntry{ScreenToyKind::waterGun, "waterGun"},
        RawEnumEntry{ScreenToyKind::ak47, "ak47"},
        RawEnumEntry{ScreenToyKind::grenade, "grenade"},
    };
};

inline size_t qHash(ScreenToyKind kind, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(kind), seed);
}

namespace ScreenToyKinds {
QString title(ScreenToyKind kind);
QString symbolName(ScreenToyKind kind);
}

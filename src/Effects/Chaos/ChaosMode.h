#pragma once

#include "Foundation/RawEnum.h"

#include <QHashFunctions>
#include <QString>

// The kinds of desktop physics a chaos run can show; the raw value is also the identity.
enum class ChaosMode { gravity, zeroGravity, vortex, earthquake };

template <>
struct RawEnumTable<ChaosMode> {
    static constexpr std::array entries{
        RawEnumEntry{ChaosMode::gravity, "gravity"},
        RawEnumEntry{ChaosMode::zeroGravity, "zeroGravity"},
        RawEnumEntry{ChaosMode::vortex, "vortex"},
        RawEnumEntry{ChaosMode::earthquake, "earthquake"},
    };
};

inline size_t qHash(ChaosMode mode, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(mode), seed);
}

namespace ChaosModes {
QString displayName(ChaosMode mode);
// Drawn uniformly from every mode.
ChaosMode random();
}

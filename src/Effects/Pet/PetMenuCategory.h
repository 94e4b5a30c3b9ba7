#pragma once

#include "Foundation/RawEnum.h"

#include <QHashFunctions>

// The pages of the pet's menu; the raw value names the page.
enum class PetMenuCategory { focus, sounds, effects, bloopy };

template <>
struct RawEnumTable<PetMenuCategory> {
    static constexpr std::array entries{
        RawEnumEntry{PetMenuCategory::focus, "Focus"},
        RawEnumEntry{PetMenuCategory::sounds, "Sounds"},
        RawEnumEntry{PetMenuCategory::effects, "Effects"},
        RawEnumEntry{PetMenuCategory::bloopy, "Bloopy"},
    };
};

inline size_t qHash(PetMenuCategory category, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(category), seed);
}

#pragma once

#include "Foundation/RawEnum.h"

#include <QHashFunctions>

// The pet's mood; the raw value is what callers and the view exchange.
enum class PetMood { idle, bored, sleeping, stretching, focused, suspicious, celebrating };

template <>
struct RawEnumTable<PetMood> {
    static constexpr std::array entries{
        RawEnumEntry{PetMood::idle, "idle"},
        RawEnumEntry{PetMood::bored, "bored"},
        RawEnumEntry{PetMood::sleeping, "sleeping"},
        RawEnumEntry{PetMood::stretching, "stretching"},
        RawEnumEntry{PetMood::focused, "focused"},
        RawEnumEntry{PetMood::suspicious, "suspicious"},
        RawEnumEntry{PetMood::celebrating, "celebrating"},
    };
};

inline size_t qHash(PetMood mood, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(mood), seed);
}

#pragma once

#include <QHashFunctions>

// A badge the pet wears for a moment: a screenshot, an arrival, a connected charger.
enum class PetMoment { camera, package, power };

inline size_t qHash(PetMoment moment, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(moment), seed);
}

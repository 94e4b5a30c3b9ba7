#pragma once

#include <QHashFunctions>

// The sound family an operation concerns.
enum class SoundChannel { keyboard, mouse, reaction };

inline size_t qHash(SoundChannel channel, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(channel), seed);
}

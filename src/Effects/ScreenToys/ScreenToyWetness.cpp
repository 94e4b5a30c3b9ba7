#include "Effects/ScreenToys/ScreenToyWetness.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// Rounds half away from zero into a signed 64-bit integer, saturating outside its range.
std::int64_t roundedCoordinate(double value)
{
    constexpr double limit = 9.2e18;
    return std::llround(std::clamp(value, -limit, limit));
}
}

std::uint64_t ScreenToyWetness::seed(QPointF at, std::uint64_t sequence)
{
    const auto x = std::uint64_t(roundedCoordinate(at.x()));
    const auto y = std::uint64_t(roundedCoordinate(at.y()));
    return (x * 0x9E3779B185EBCA87ull) ^ (y * 0xC2B2AE3D27D4EB4Full) ^ sequence;
}

void ScreenToyWetness::expire(double time)
{
    std::erase_if(patches, [&](const ScreenToyWetPatch &patch) {
        return time - patch.refreshedAt.value_or(patch.createdAt) >= dryingSeconds;
    });
}

void ScreenToyWetness::addImpact(QPointF at, double time)
{
    if (!std::isfinite(at.x()) || !std::isfinite(at.y()))
        return;
    expire(time);
    for (auto patch = patches.rbegin(); patch != patches.rend(); ++patch) {
        const QPointF offset = at - patch->center;
        if (std::hypot(offset.x(), offset.y()) < mergeRadius && time - patch->createdAt < mergeWindowSeconds) {
            const double v = patch->volume;
            patch->center = (at + patch->center * v) / (v + 1);
            patch->volume = std::min(v + 1, maximumVolume);
            patch->refreshedAt = time;
            return;
        }
    }
    ++sequence;
    patches.push_back(ScreenToyWetPatch{at, time, seed(at, sequence), 1.0, std::nullopt});
    const auto excess = std::ssize(patches) - std::max(maximumCount, 0);
    if (excess > 0)
        patches.erase(patches.begin(), patches.begin() + excess);
}

#include "Effects/ScreenToys/ScreenToyWetPatch.h"

#include <cmath>
#include <numbers>

std::vector<QPointF> ScreenToyWetPatch::droplets() const
{
    std::vector<QPointF> offsets;
    offsets.reserve(dropletCount);
    for (int i = 0; i < dropletCount; ++i) {
        const double angle = double(seed % 31) / 100.0 + 2 * std::numbers::pi * i / dropletCount;
        const double radius = double((seed >> i) & 15) + 7;
        offsets.emplace_back(std::cos(angle) * radius, 0.65 * std::sin(angle) * radius);
    }
    return offsets;
}

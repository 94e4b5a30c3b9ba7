#pragma once

#include "Foundation/Error.h"

#include <span>
#include <vector>

// The lowest and highest sample of one stretch of a clip.
struct WaveformBin {
    float minimum = 0;
    float maximum = 0;

    bool operator==(const WaveformBin &) const = default;
};

// Reduces a clip to min/max pairs for drawing.
namespace WaveformEnvelope {
inline constexpr int maximumBins = 2048;

// min(bins, sample count) bins that tile the samples without gaps, sizes differing by at most
// one; refused (1570) unless 1 ≤ bins ≤ 2048 and every sample is finite.
Result<std::vector<WaveformBin>> make(std::span<const float> samples, int bins);
}

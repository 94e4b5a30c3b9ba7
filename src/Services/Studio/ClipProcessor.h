#pragma once

#include "Foundation/Error.h"
#include "Services/Studio/AudioClipEdit.h"

#include <span>
#include <vector>

// Renders an AudioClipEdit over untouched mono samples, and is the one judge of whether an
// edit is acceptable. Every refusal is validationMissingMandatoryProperty (1570).
namespace ClipProcessor {
inline constexpr float maximumGain = 4.0f;

// The kept range with fades and gain applied, clamped to -1…1.
Result<std::vector<float>> process(std::span<const float> samples, const AudioClipEdit &edit);

// The same judgement as process() without rendering anything.
Result<void> validate(std::span<const float> samples, const AudioClipEdit &edit);

// The range, gain and fade rules alone, for a clip of `frameCount` samples.
Result<void> validateRange(qint64 frameCount, const AudioClipEdit &edit);

// No NaN and no infinity anywhere.
bool allFinite(std::span<const float> samples);

// 0…upper inclusive; NaN and every negative value except -0 are refused.
bool isWithinZeroTo(float value, float upper);

// 0…4 inclusive.
bool isAcceptedGain(float gain);

// Fade-in times fade-out factor of the sample at `index` of a kept range of `length` samples.
float fadeFactor(qint64 index, qint64 length, qint64 fadeInFrames, qint64 fadeOutFrames);
}

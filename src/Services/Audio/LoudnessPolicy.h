#pragma once

#include "Services/Audio/SampleDecoder.h"

#include <vector>

// Loudness matching: one gain per pack, computed when it loads, that brings its samples to a
// common level so switching packs does not jump in volume.
namespace LoudnessPolicy {
// Level of the loudest 20 ms of a sample (RMS over both channels), the part of a click
// or a tap that is heard.
double sampleLoudness(const DecodedSample &sample);
// Gain that brings the power mean of the given loudness values to the target, limited to
// ±12 dB so a nearly silent or clipped pack is not pushed to extremes; 1 when there is nothing to hear.
float packGain(const std::vector<double> &loudness);

inline constexpr double windowSeconds = 0.02;
inline constexpr double targetLoudness = 0.125; // about −18 dBFS
inline constexpr float minGain = 0.25f;
inline constexpr float maxGain = 4.0f;
}

#pragma once

#include "Services/Audio/SampleDecoder.h"

#include <cstdint>
#include <vector>

// A sound held ready for the mixer: interleaved 16-bit frames, mono or stereo, at one rate.
// Half the memory of decoded floats, and exact for the 16-bit files packs are made of.
struct PlaybackSample {
    static constexpr float fullScale = 1.0f / 32768.0f;

    std::vector<std::int16_t> samples;
    int channels = 0;
    int sampleRate = 0;
    // The level of one step: 1/32768, or more for a sound that goes beyond full scale (a float
    // file, a clip with gain), which keeps its level instead of being clipped.
    float scale = fullScale;

    qint64 frames() const { return channels > 0 ? qint64(samples.size()) / channels : 0; }
    float at(std::size_t index) const { return float(samples[index]) * scale; }

    // Rounds each value to the nearest step.
    static PlaybackSample from(const DecodedSample &decoded);
};

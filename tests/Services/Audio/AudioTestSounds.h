#pragma once

#include "Services/Audio/SoundBank.h"

#include <cmath>
#include <memory>
#include <numbers>

// Synthetic samples whose every frame is known, so a rendered mix can be checked exactly.
namespace AudioTestSounds {

inline SoundBank::Sample constant(float value, qint64 frames, int sampleRate = 48000, int channels = 1)
{
    auto sample = std::make_shared<DecodedSample>();
    sample->channels = channels;
    sample->sampleRate = sampleRate;
    sample->samples.assign(std::size_t(frames * channels), value);
    return sample;
}

inline SoundBank::Sample sine(float amplitude, double hertz, qint64 frames, int sampleRate = 48000)
{
    auto sample = std::make_shared<DecodedSample>();
    sample->channels = 1;
    sample->sampleRate = sampleRate;
    for (qint64 i = 0; i < frames; ++i)
        sample->samples.push_back(float(amplitude * std::sin(2 * std::numbers::pi * hertz * double(i) / sampleRate)));
    return sample;
}

inline std::shared_ptr<SoundBank> bankWith(KeyGroup group, KeyPhase phase, SoundBank::Sample sample,
                                           float loudnessGain = 1.0f)
{
    auto bank = std::make_shared<SoundBank>(sample->sampleRate, loudnessGain);
    bank->add(group, phase, std::move(sample));
    return bank;
}
}

#pragma once

#include "Services/Audio/SoundBank.h"

#include <cmath>
#include <memory>
#include <numbers>

// Synthetic samples whose every frame is known, so a rendered mix can be checked to one 16-bit step.
namespace AudioTestSounds {

// One 16-bit step: how closely a rendered level can match the float it was made from.
inline constexpr double quantum = 1.0 / 32768;

inline SoundBank::Sample playable(const DecodedSample &decoded)
{
    return std::make_shared<const PlaybackSample>(PlaybackSample::from(decoded));
}

inline SoundBank::Sample constant(float value, qint64 frames, int sampleRate = 48000, int channels = 1)
{
    return playable({std::vector<float>(std::size_t(frames * channels), value), channels, sampleRate});
}

inline SoundBank::Sample sine(float amplitude, double hertz, qint64 frames, int sampleRate = 48000)
{
    DecodedSample sample{{}, 1, sampleRate};
    for (qint64 i = 0; i < frames; ++i)
        sample.samples.push_back(float(amplitude * std::sin(2 * std::numbers::pi * hertz * double(i) / sampleRate)));
    return playable(sample);
}

inline std::shared_ptr<SoundBank> bankWith(KeyGroup group, KeyPhase phase, SoundBank::Sample sample,
                                           float loudnessGain = 1.0f)
{
    auto bank = std::make_shared<SoundBank>(sample->sampleRate, loudnessGain);
    bank->add(group, phase, std::move(sample));
    return bank;
}
}

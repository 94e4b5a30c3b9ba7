#pragma once

#include "Models/KeyGroup.h"
#include "Models/KeyPhase.h"
#include "Services/Audio/PlaybackSample.h"

#include <array>
#include <memory>
#include <vector>

// The decoded samples of one pack, ready to play: keyed by group and phase, at the rate of
// the output they were prepared for, with the gain that matches the pack's loudness.
class SoundBank {
public:
    using Sample = std::shared_ptr<const PlaybackSample>;
    using SampleList = std::vector<Sample>;

    SoundBank(int sampleRate, float loudnessGain) : m_sampleRate(sampleRate), m_loudnessGain(loudnessGain) {}

    void add(KeyGroup group, KeyPhase phase, Sample sample);

    // The first non-empty list among (group, phase), (regular, phase), (group, down),
    // (regular, down); null when the pack has none of them.
    const SampleList *lookup(KeyGroup group, KeyPhase phase) const;
    bool has(KeyGroup group) const;

    int sampleRate() const { return m_sampleRate; }
    float loudnessGain() const { return m_loudnessGain; }

private:
    static constexpr std::size_t groupCount = allCases<KeyGroup>().size();
    const SampleList &list(KeyGroup group, KeyPhase phase) const;

    int m_sampleRate;
    float m_loudnessGain;
    std::array<SampleList, groupCount * 2> m_lists;
};

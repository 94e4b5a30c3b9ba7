#include "Services/Audio/SoundBank.h"

namespace {
std::size_t slot(KeyGroup group, KeyPhase phase)
{
    return std::size_t(group) * 2 + std::size_t(phase);
}
}

void SoundBank::add(KeyGroup group, KeyPhase phase, Sample sample)
{
    m_lists[slot(group, phase)].push_back(std::move(sample));
}

const SoundBank::SampleList &SoundBank::list(KeyGroup group, KeyPhase phase) const
{
    return m_lists[slot(group, phase)];
}

const SoundBank::SampleList *SoundBank::lookup(KeyGroup group, KeyPhase phase) const
{
    const std::array<std::pair<KeyGroup, KeyPhase>, 4> order{{
        {group, phase},
        {KeyGroup::regular, phase},
        {group, KeyPhase::down},
        {KeyGroup::regular, KeyPhase::down},
    }};
    for (const auto &[g, p] : order) {
        if (!list(g, p).empty())
            return &list(g, p);
    }
    return nullptr;
}

bool SoundBank::has(KeyGroup group) const
{
    return !list(group, KeyPhase::down).empty() || !list(group, KeyPhase::up).empty();
}

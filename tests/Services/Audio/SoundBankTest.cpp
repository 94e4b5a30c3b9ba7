#include "Services/Audio/SoundBank.h"

#include "Services/Audio/AudioTestSounds.h"

#include <gtest/gtest.h>

namespace {
struct LookupCase {
    const char *name;
    std::vector<std::pair<KeyGroup, KeyPhase>> present;
    KeyGroup group;
    KeyPhase phase;
    std::optional<std::pair<KeyGroup, KeyPhase>> expected;
};
}

TEST(SoundBank, LookupFallsBackFromGroupAndPhaseToRegularAndPress)
{
    using enum KeyPhase;
    const std::vector<LookupCase> cases = {
        {"own list first", {{KeyGroup::space, up}, {KeyGroup::regular, up}}, KeyGroup::space, up, {{KeyGroup::space, up}}},
        {"regular of the same phase next", {{KeyGroup::regular, up}, {KeyGroup::space, down}}, KeyGroup::space, up,
         {{KeyGroup::regular, up}}},
        {"own press before regular press", {{KeyGroup::space, down}, {KeyGroup::regular, down}}, KeyGroup::space, up,
         {{KeyGroup::space, down}}},
        {"regular press last", {{KeyGroup::regular, down}, {KeyGroup::enter, up}}, KeyGroup::space, up,
         {{KeyGroup::regular, down}}},
        {"nothing that fits", {{KeyGroup::enter, down}}, KeyGroup::space, up, std::nullopt},
        {"release of a pack without releases", {{KeyGroup::regular, down}}, KeyGroup::regular, up,
         {{KeyGroup::regular, down}}},
    };
    for (const LookupCase &c : cases) {
        SoundBank bank(48000, 1.0f);
        std::map<std::pair<KeyGroup, KeyPhase>, const PlaybackSample *> added;
        for (const auto &[group, phase] : c.present) {
            auto sample = AudioTestSounds::constant(0.1f, 4);
            added[{group, phase}] = sample.get();
            bank.add(group, phase, sample);
        }
        const SoundBank::SampleList *list = bank.lookup(c.group, c.phase);
        if (!c.expected) {
            EXPECT_EQ(list, nullptr) << c.name;
            continue;
        }
        ASSERT_NE(list, nullptr) << c.name;
        ASSERT_EQ(list->size(), 1u) << c.name;
        EXPECT_EQ(list->front().get(), added[*c.expected]) << c.name;
    }
}

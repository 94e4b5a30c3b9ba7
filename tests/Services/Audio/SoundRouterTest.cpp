#include "Services/Audio/SoundRouter.h"

#include "Services/Audio/AudioTestSounds.h"
#include "Services/Audio/MouseSoundPolicy.h"
#include "fakes/FakeAudioOutput.h"
#include "fakes/ManualClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace std::chrono_literals;

namespace {
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinite = std::numeric_limits<double>::infinity();

// Three engines on fake devices; every sample is a constant so a rendered frame shows the
// gain a road chose.
struct Roads {
    ManualClock clock;
    std::array<std::shared_ptr<FakeAudioOutput::State>, 3> devices{
        std::make_shared<FakeAudioOutput::State>(), std::make_shared<FakeAudioOutput::State>(),
        std::make_shared<FakeAudioOutput::State>()};
    AudioEngine typing{12, 2000ms, std::make_unique<FakeAudioOutput>(devices[0]), clock};
    AudioEngine mouse{8, 2000ms, std::make_unique<FakeAudioOutput>(devices[1]), clock};
    AudioEngine reaction{1, 2000ms, std::make_unique<FakeAudioOutput>(devices[2]), clock};
    SoundRouter router{typing, mouse, reaction};

    Roads()
    {
        auto keys = std::make_shared<SoundBank>(48000, 1.0f);
        keys->add(KeyGroup::regular, KeyPhase::down, AudioTestSounds::constant(0.1f, 4800));
        keys->add(KeyGroup::space, KeyPhase::down, AudioTestSounds::constant(0.2f, 4800));
        keys->add(KeyGroup::mouseLeft, KeyPhase::down, AudioTestSounds::constant(0.3f, 4800));
        typing.setSounds(keys);
        mouse.setSounds(keys);
        reaction.setSounds(AudioTestSounds::bankWith(KeyGroup::reaction, KeyPhase::down,
                                                     AudioTestSounds::constant(0.1f, 4800)));
        for (AudioEngine *engine : {&typing, &mouse, &reaction})
            engine->setLoudnessMatching(false);
        router.setTypingTuning({true, 1.0, true, 0.0, 0.0});
        router.setMouseTuning({true, 1.0, MouseTuning::identityTable(), false});
        router.setReactionTuning({true, 1.0});
    }

    // First frame the engine renders after its road ran: {left, right}.
    std::pair<float, float> heard(AudioEngine &engine, int device)
    {
        engine.flush();
        const std::vector<float> frame = devices[std::size_t(device)]->render(1);
        return {frame[0], frame[1]};
    }
};
}

TEST(SoundRouter, KeyRoadChecksTheEventAndTheTypingTuning)
{
    struct Case {
        const char *name;
        TypingTuning tuning;
        KeySoundEvent event;
        bool queued;
        float left;
        float right;
    };
    const KeySoundEvent key{30, KeyGroup::regular, KeyPhase::down, 0.0, false, std::nullopt};
    KeySoundEvent repeat = key;
    repeat.isRepeat = true;
    KeySoundEvent leftKey = key;
    leftKey.pan = -1.0;
    KeySoundEvent farLeft = key;
    farLeft.pan = -4.0;
    KeySoundEvent brokenPan = key;
    brokenPan.pan = notANumber;
    const float edge = float(std::sqrt(2.0) * 0.1);
    const std::vector<Case> cases = {
        {"plays", {true, 1.0, true, 0.0, 0.0}, key, true, 0.1f, 0.1f},
        {"typing sounds off", {false, 1.0, true, 0.0, 0.0}, key, false, 0, 0},
        {"auto-repeat", {true, 1.0, true, 0.0, 0.0}, repeat, false, 0, 0},
        {"stereo on", {true, 1.0, true, 0.0, 0.0}, leftKey, true, edge, 0.0f},
        {"stereo off centres", {true, 1.0, false, 0.0, 0.0}, leftKey, true, 0.1f, 0.1f},
        {"pan clamped", {true, 1.0, true, 0.0, 0.0}, farLeft, true, edge, 0.0f},
        {"pan not finite", {true, 1.0, true, 0.0, 0.0}, brokenPan, false, 0, 0},
        {"broken pan ignored without stereo", {true, 1.0, false, 0.0, 0.0}, brokenPan, true, 0.1f, 0.1f},
        {"volume not finite", {true, infinite, true, 0.0, 0.0}, key, false, 0, 0},
        {"pitch variation not finite", {true, 1.0, true, notANumber, 0.0}, key, false, 0, 0},
        {"volume variation not finite", {true, 1.0, true, 0.0, notANumber}, key, false, 0, 0},
        {"volume clamped to 2", {true, 9.0, true, 0.0, 0.0}, key, true, 0.2f, 0.2f},
        {"negative volume is silence", {true, -1.0, true, 0.0, 0.0}, key, true, 0.0f, 0.0f},
    };
    for (const Case &c : cases) {
        Roads roads;
        roads.router.setTypingTuning(c.tuning);
        EXPECT_EQ(roads.router.playKey(c.event), c.queued) << c.name;
        const auto [left, right] = roads.heard(roads.typing, 0);
        EXPECT_NEAR(left, c.left, AudioTestSounds::quantum) << c.name;
        EXPECT_NEAR(right, c.right, AudioTestSounds::quantum) << c.name;
    }
}

TEST(SoundRouter, VariationsAreClampedToTheirRanges)
{
    Roads roads;
    roads.router.setTypingTuning({true, 1.0, true, 5.0, 5.0});
    const KeySoundEvent key{30, KeyGroup::regular, KeyPhase::down, 0.0, false, std::nullopt};
    for (int i = 0; i < 100; ++i) {
        roads.router.playKey(key);
        const float left = roads.heard(roads.typing, 0).first;
        // The sound's 0.1 is held to the nearest 16-bit step before the variation scales it.
        EXPECT_GE(left, 0.1 * (1 - SoundRouter::maxVolumeVariation) - AudioTestSounds::quantum);
        EXPECT_LE(left, 0.1 * (1 + SoundRouter::maxVolumeVariation) + AudioTestSounds::quantum);
        roads.devices[0]->render(6000);
    }
}

TEST(SoundRouter, ClickRoadHonoursSwitchSuppressionAndTheGroupTable)
{
    struct Case {
        const char *name;
        MouseTuning tuning;
        KeyGroup button;
        bool queued;
        float level;
    };
    MouseTuning::GroupTable toSpace = MouseTuning::identityTable();
    toSpace[std::size_t(KeyGroup::mouseRight)] = KeyGroup::space;
    const std::vector<Case> cases = {
        {"left click", {true, 1.0, MouseTuning::identityTable(), false}, KeyGroup::mouseLeft, true, 0.3f},
        {"mapped right click", {true, 1.0, toSpace, false}, KeyGroup::mouseRight, true, 0.2f},
        {"unmapped group falls back to regular", {true, 1.0, MouseTuning::identityTable(), false},
         KeyGroup::mouseOther, true, 0.1f},
        {"click sounds off", {false, 1.0, MouseTuning::identityTable(), false}, KeyGroup::mouseLeft, false, 0},
        {"suppressed by a screen toy", {true, 1.0, MouseTuning::identityTable(), true}, KeyGroup::mouseLeft, false, 0},
        {"volume not finite", {true, notANumber, MouseTuning::identityTable(), false}, KeyGroup::mouseLeft, false, 0},
        {"volume clamped", {true, 3.0, MouseTuning::identityTable(), false}, KeyGroup::mouseLeft, true, 0.6f},
    };
    for (const Case &c : cases) {
        Roads roads;
        roads.router.setMouseTuning(c.tuning);
        EXPECT_EQ(roads.router.playClick(c.button), c.queued) << c.name;
        // Clicks vary by up to 6 % in level.
        EXPECT_NEAR(roads.heard(roads.mouse, 1).first, c.level, c.level * 0.061 + 1e-6) << c.name;
    }
}

TEST(SoundRouter, TapRoadScalesByStrength)
{
    struct Case {
        const char *name;
        ReactionTuning tuning;
        double strength;
        bool queued;
        float level;
    };
    const std::vector<Case> cases = {
        {"soft tap", {true, 0.8}, 0.5, true, 0.04f},
        {"hard tap clamped", {true, 0.8}, 10.0, true, 0.2f},
        {"reactions off", {false, 0.8}, 1.0, false, 0},
        {"strength not finite", {true, 0.8}, infinite, false, 0},
        {"volume times strength not finite", {true, infinite}, 0.0, false, 0},
    };
    for (const Case &c : cases) {
        Roads roads;
        roads.router.setReactionTuning(c.tuning);
        EXPECT_EQ(roads.router.playImpact(c.strength), c.queued) << c.name;
        EXPECT_NEAR(roads.heard(roads.reaction, 2).first, c.level, c.level * 0.061 + 1e-6) << c.name;
    }
}

TEST(MouseSoundPolicy, ButtonsWithoutTheirOwnSoundBorrowTheLeftOne)
{
    SoundBank withLeft(48000, 1.0f);
    withLeft.add(KeyGroup::mouseLeft, KeyPhase::down, AudioTestSounds::constant(0.1f, 4));
    withLeft.add(KeyGroup::mouseOther, KeyPhase::up, AudioTestSounds::constant(0.1f, 4));
    const auto table = MouseSoundPolicy::groupTable(withLeft);
    EXPECT_EQ(table[std::size_t(KeyGroup::mouseLeft)], KeyGroup::mouseLeft);
    EXPECT_EQ(table[std::size_t(KeyGroup::mouseRight)], KeyGroup::mouseLeft);
    EXPECT_EQ(table[std::size_t(KeyGroup::mouseOther)], KeyGroup::mouseOther);

    SoundBank keysOnly(48000, 1.0f);
    keysOnly.add(KeyGroup::regular, KeyPhase::down, AudioTestSounds::constant(0.1f, 4));
    EXPECT_EQ(MouseSoundPolicy::groupTable(keysOnly), MouseTuning::identityTable());
}

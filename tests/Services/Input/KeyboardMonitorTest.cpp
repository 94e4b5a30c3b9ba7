#include "Services/Input/InputCapturePolicy.h"
#include "Services/Input/KeyboardMonitor.h"
#include "Services/Input/MouseMonitor.h"
#include "fakes/FakeInputCapture.h"
#include "fakes/FakeKeyLabelSource.h"

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

TEST(KeyboardMonitor, ClimbsTheLadderToTheBestSourceThatStarts)
{
    struct Case {
        std::map<InputCaptureLevel, bool> available;
        std::optional<InputCaptureLevel> expected;
    };
    const std::vector<Case> cases{
        {{{InputCaptureLevel::eventTap, true}, {InputCaptureLevel::globalFallback, true}, {InputCaptureLevel::appOnly, true}},
         InputCaptureLevel::eventTap},
        {{{InputCaptureLevel::eventTap, false}, {InputCaptureLevel::globalFallback, true}, {InputCaptureLevel::appOnly, true}},
         InputCaptureLevel::globalFallback},
        {{{InputCaptureLevel::eventTap, false}, {InputCaptureLevel::appOnly, true}}, InputCaptureLevel::appOnly},
        {{{InputCaptureLevel::eventTap, false}, {InputCaptureLevel::globalFallback, false}}, std::nullopt},
    };
    for (const auto &[available, expected] : cases) {
        FakeInputCapture capture;
        capture.available = available;
        FakeKeyLabelSource labels;
        KeyboardMonitor monitor(capture, labels);
        EXPECT_EQ(monitor.start(), expected.has_value());
        EXPECT_EQ(monitor.captureLevel(), expected);
        EXPECT_EQ(capture.requestedLabels.front(), QStringLiteral("local.knockwell.keyboard"));
        if (expected) {
            // Only the chosen source lives on, so no event arrives twice.
            ASSERT_EQ(capture.sources.size(), 1u);
            EXPECT_TRUE(capture.sources.at(*expected)->running);
        }
    }
}

TEST(KeyboardMonitor, StartsOnceAndStopsItsSource)
{
    FakeInputCapture capture;
    capture.available = {{InputCaptureLevel::eventTap, true}};
    FakeKeyLabelSource labels;
    KeyboardMonitor monitor(capture, labels);
    ASSERT_TRUE(monitor.start());
    ASSERT_TRUE(monitor.start());
    EXPECT_EQ(capture.madeCount, 1);
    monitor.stop();
    EXPECT_TRUE(capture.sources.empty());
    EXPECT_FALSE(monitor.isRunning());
}

TEST(KeyboardMonitor, TurnsRawTransitionsIntoKeyEvents)
{
    FakeInputCapture capture;
    capture.available = {{InputCaptureLevel::eventTap, true}};
    FakeKeyLabelSource labels;
    KeyboardMonitor monitor(capture, labels);
    std::vector<KeySoundEvent> events;
    monitor.onEvent = [&](const KeySoundEvent &event) { events.push_back(event); };
    bool labelsWanted = true;
    monitor.wantsLabel = [&] { return labelsWanted; };
    ASSERT_TRUE(monitor.start());
    FakeInputSource *source = capture.sources[InputCaptureLevel::eventTap];

    source->send(KEY_Q, 1);
    source->send(KEY_Q, 2);
    source->send(KEY_Q, 0);
    source->send(KEY_ENTER, 1);
    labelsWanted = false;
    source->send(KEY_P, 1);
    labelsWanted = true;
    bool secure = true;
    monitor.isSecureInput = [&] { return secure; };
    source->send(KEY_W, 1);
    ASSERT_EQ(events.size(), 6u);

    EXPECT_EQ(events[0].keyCode, KEY_Q);
    EXPECT_EQ(events[0].group, KeyGroup::regular);
    EXPECT_EQ(events[0].phase, KeyPhase::down);
    EXPECT_FALSE(events[0].isRepeat);
    EXPECT_LT(events[0].pan, 0.0);
    EXPECT_EQ(events[0].label, QStringLiteral("Q"));
    // Repeats and releases carry no label.
    EXPECT_TRUE(events[1].isRepeat);
    EXPECT_EQ(events[1].phase, KeyPhase::down);
    EXPECT_FALSE(events[1].label);
    EXPECT_EQ(events[2].phase, KeyPhase::up);
    EXPECT_FALSE(events[2].isRepeat);
    EXPECT_FALSE(events[2].label);
    EXPECT_EQ(events[3].group, KeyGroup::enter);
    EXPECT_GT(events[3].pan, 0.0);
    EXPECT_EQ(events[4].group, KeyGroup::regular);
    EXPECT_FALSE(events[4].label);
    EXPECT_FALSE(events[5].label) << "typed into a password field";
}

TEST(KeyboardMonitor, ClipsLayoutLabelsToFourCharacters)
{
    FakeInputCapture capture;
    FakeKeyLabelSource labels;
    labels.overrides[KEY_A] = QStringLiteral("Alpha");
    KeyboardMonitor monitor(capture, labels);
    monitor.wantsLabel = [] { return true; };
    EXPECT_EQ(monitor.makeEvent({KEY_A, 1}).label, QStringLiteral("Alph"));
}

TEST(MouseMonitor, ReportsButtonTransitionsWithTheirGroups)
{
    FakeInputCapture capture;
    capture.available = {{InputCaptureLevel::eventTap, false}, {InputCaptureLevel::globalFallback, true}};
    MouseMonitor monitor(capture);
    std::vector<std::pair<KeyGroup, KeyPhase>> clicks;
    monitor.onClick = [&](KeyGroup group, KeyPhase phase) { clicks.emplace_back(group, phase); };
    ASSERT_TRUE(monitor.start());
    EXPECT_EQ(monitor.captureLevel(), InputCaptureLevel::globalFallback);
    EXPECT_EQ(capture.requestedLabels.front(), QStringLiteral("local.knockwell.mouse"));
    FakeInputSource *source = capture.sources[InputCaptureLevel::globalFallback];
    source->send(BTN_LEFT, 1);
    source->send(BTN_LEFT, 0);
    source->send(BTN_RIGHT, 1);
    source->send(BTN_MIDDLE, 1);
    const std::vector<std::pair<KeyGroup, KeyPhase>> expected{{KeyGroup::mouseLeft, KeyPhase::down},
                                                              {KeyGroup::mouseLeft, KeyPhase::up},
                                                              {KeyGroup::mouseRight, KeyPhase::down},
                                                              {KeyGroup::mouseOther, KeyPhase::down}};
    EXPECT_EQ(clicks, expected);
}

TEST(InputCapturePolicy, PublishesHowKeysAreHeard)
{
    using L = InputCaptureLevel;
    struct Case {
        bool paused;
        bool wanted;
        std::optional<L> level;
        bool permission;
        bool active;
        const char *mode;
    };
    const std::vector<Case> cases{
        {true, true, L::eventTap, true, false, "Effects paused"},
        {false, false, std::nullopt, true, false, "Typing sounds off"},
        {false, true, L::eventTap, true, true, "Global (input devices)"},
        {false, true, L::globalFallback, true, true, "Global (X11)"},
        {false, true, L::appOnly, false, false, "App-only (permission needed)"},
        {false, true, std::nullopt, false, false, "Permission needed"},
        {false, true, std::nullopt, true, false, "Monitor failed"},
    };
    for (const auto &c : cases) {
        const auto state = InputCapturePolicy::state(c.paused, c.wanted, c.level, c.permission);
        EXPECT_EQ(state.monitorActive, c.active) << c.mode;
        EXPECT_EQ(state.mode, QString::fromUtf8(c.mode));
    }
}

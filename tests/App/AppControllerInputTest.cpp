#include "App/AppController.h"
#include "fakes/FakeAppShell.h"
#include "fakes/FakeInputCapture.h"
#include "fakes/FakeMotionSensor.h"
#include "fakes/FakePermissionProbe.h"
#include "support/TestPlatform.h"
#include "support/TestFolders.h"

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

namespace {

using L = InputCaptureLevel;

// A controller over fake input, permissions and motion sensor, with onboarding done so
// start() opens no window the test does not need.
struct InputRig {
    TestFolder folder;
    FakeInputCapture *capture = nullptr;
    FakePermissionProbe *probe = nullptr;
    FakeMotionSensor *sensor = nullptr;
    std::unique_ptr<AppController> controller;

    explicit InputRig(std::map<L, bool> levels, bool permission, bool motionSensor = false)
    {
        Platform platform = std::move(TestPlatform(folder).platform);
        auto fakeCapture = std::make_unique<FakeInputCapture>();
        capture = fakeCapture.get();
        capture->available = std::move(levels);
        platform.inputCapture = std::move(fakeCapture);
        auto fakeProbe = std::make_unique<FakePermissionProbe>();
        probe = fakeProbe.get();
        probe->inputGranted = permission;
        platform.permissionProbe = std::move(fakeProbe);
        if (motionSensor) {
            platform.findMotionSensor = [this] {
                auto made = std::make_unique<FakeMotionSensor>();
                sensor = made.get();
                return made;
            };
        }
        controller = std::make_unique<AppController>(std::move(platform));
        controller->settings().setHasCompletedOnboarding(true);
    }

    SettingsStore &settings() { return controller->settings(); }
    FakeInputSource *running(L level, InputDeviceClass deviceClass = InputDeviceClass::keyboard)
    {
        return capture->sourcesByClass.at({level, deviceClass});
    }
};

}

TEST(AppControllerInput, PublishesHowKeysAreHeardAfterStart)
{
    struct Case {
        std::map<L, bool> levels;
        bool permission;
        bool active;
        const char *mode;
    };
    const std::vector<Case> cases{
        {{{L::eventTap, true}, {L::globalFallback, true}, {L::appOnly, true}}, true, true, "Global (input devices)"},
        {{{L::eventTap, false}, {L::globalFallback, true}, {L::appOnly, true}}, true, true, "Global (X11)"},
        {{{L::eventTap, false}, {L::appOnly, true}}, false, false, "App-only (permission needed)"},
        {{}, false, false, "Permission needed"},
        {{}, true, false, "Monitor failed"},
    };
    for (const auto &c : cases) {
        InputRig rig(c.levels, c.permission);
        rig.controller->start();
        EXPECT_EQ(rig.controller->monitorActive(), c.active) << c.mode;
        EXPECT_EQ(rig.controller->inputCaptureMode(), QString::fromUtf8(c.mode));
    }
}

TEST(AppControllerInput, FollowsPauseAndTheTypingSettings)
{
    InputRig rig({{L::eventTap, true}}, true);
    rig.controller->start();
    rig.settings().setEffectsPaused(true);
    EXPECT_EQ(rig.controller->inputCaptureMode(), "Effects paused");
    EXPECT_FALSE(rig.controller->keyboardMonitor().isRunning());
    rig.settings().setEffectsPaused(false);
    EXPECT_EQ(rig.controller->inputCaptureMode(), "Global (input devices)");

    rig.settings().setTypingEnabled(false);
    EXPECT_EQ(rig.controller->inputCaptureMode(), "Typing sounds off");
    EXPECT_FALSE(rig.controller->monitorActive());
    // The statistics alone keep the keyboard heard.
    rig.settings().setInteractionStatsEnabled(true);
    EXPECT_EQ(rig.controller->inputCaptureMode(), "Global (input devices)");
    EXPECT_TRUE(rig.controller->monitorActive());

    EXPECT_FALSE(rig.controller->mouseMonitor().isRunning());
    rig.settings().setMouseEnabled(true);
    EXPECT_TRUE(rig.controller->mouseMonitor().isRunning());
}

TEST(AppControllerInput, AsksForInputAccessOnceWhenItIsMissing)
{
    InputRig rig({{L::appOnly, true}}, false);
    rig.controller->start();
    EXPECT_EQ(rig.probe->inputHelpShown, 1);
    EXPECT_TRUE(rig.settings().didRequestInputMonitoringV2());

    InputRig paused({{L::appOnly, true}}, false);
    paused.settings().setEffectsPaused(true);
    paused.controller->start();
    EXPECT_EQ(paused.probe->inputHelpShown, 0);
    EXPECT_FALSE(paused.settings().didRequestInputMonitoringV2());

    InputRig asked({{L::appOnly, true}}, false);
    asked.settings().setDidRequestInputMonitoringV2(true);
    asked.controller->start();
    EXPECT_EQ(asked.probe->inputHelpShown, 0);

    InputRig granted({{L::eventTap, true}}, true);
    granted.controller->start();
    EXPECT_EQ(granted.probe->inputHelpShown, 0);
    EXPECT_FALSE(granted.settings().didRequestInputMonitoringV2());
}

TEST(AppControllerInput, RetryClimbsToASourceThatWorksNow)
{
    InputRig rig({{L::eventTap, false}, {L::appOnly, true}}, false);
    rig.controller->start();
    EXPECT_EQ(rig.controller->inputCaptureMode(), "App-only (permission needed)");

    rig.capture->available[L::eventTap] = true;
    rig.probe->inputGranted = true;
    rig.controller->retryInputMonitoring();
    EXPECT_TRUE(rig.controller->permissions().hasInputMonitoring());
    EXPECT_EQ(rig.controller->inputCaptureMode(), "Global (input devices)");
    EXPECT_TRUE(rig.controller->monitorActive());
    EXPECT_FALSE(rig.capture->sources.contains(L::appOnly));
}

TEST(AppControllerInput, CountsTypedKeysAndKeepsThemWhenStatisticsStop)
{
    InputRig rig({{L::eventTap, true}}, true);
    rig.settings().setInteractionStatsEnabled(true);
    rig.controller->start();
    FakeInputSource *keyboard = rig.running(L::eventTap);
    for (std::uint16_t code : {KEY_H, KEY_I, KEY_LEFTSHIFT, KEY_F5}) {
        keyboard->send(code, 1);
        keyboard->send(code, 2);
        keyboard->send(code, 0);
    }
    rig.settings().setInteractionStatsEnabled(false);
    EXPECT_EQ(rig.settings().interactionStatsKeys(), 2u);
}

TEST(AppControllerInput, DetectsTheMotionSensorAndReadsItOnlyForTapReactions)
{
    InputRig none({{L::appOnly, true}}, false);
    none.controller->start();
    EXPECT_FALSE(none.controller->impacts().hardwareDetected());

    InputRig rig({{L::appOnly, true}}, false, true);
    rig.settings().setSlapEnabled(false);
    rig.controller->start();
    EXPECT_TRUE(rig.controller->impacts().hardwareDetected());
    EXPECT_FALSE(rig.controller->impacts().isRunning());
    rig.settings().setSlapEnabled(true);
    EXPECT_TRUE(rig.controller->impacts().isRunning());
    rig.settings().setEffectsPaused(true);
    EXPECT_FALSE(rig.controller->impacts().isRunning());
}

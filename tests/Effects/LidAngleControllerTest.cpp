#include "Effects/LidAngleController.h"
#include "fakes/FakeLidAngleReading.h"
#include "fakes/ManualClock.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
std::vector<std::optional<LidCue>> cuesFor(const std::vector<double> &angles)
{
    LidAnglePolicy policy;
    std::vector<std::optional<LidCue>> cues;
    for (double angle : angles)
        cues.push_back(policy.cue(angle));
    return cues;
}
constexpr std::optional<LidCue> none = std::nullopt;
}

TEST(LidAnglePolicy, TurnsAngleSequencesIntoCues)
{
    struct Case {
        const char *name;
        std::vector<double> angles;
        std::vector<std::optional<LidCue>> cues;
    };
    const std::vector<Case> cases{
        {"the first reading only sets the scene", {20, 25, 90}, {none, none, LidCue::reopened}},
        {"closing and opening", {110, 80, 44, 30, 50, 61, 100}, {none, none, LidCue::tucked, none, none, LidCue::reopened, none}},
        {"a lid resting between the thresholds does not flap", {100, 44, 46, 44, 59, 46, 61, 50, 46},
         {none, LidCue::tucked, none, none, none, none, LidCue::reopened, none, none}},
        {"readings that are not numbers change nothing", {100, std::nan(""), 40, INFINITY, 70},
         {none, none, LidCue::tucked, none, LidCue::reopened}},
        {"a first reading that is not a number does not count", {std::nan(""), 30, 70}, {none, none, LidCue::reopened}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(cuesFor(c.angles), c.cues) << c.name;
}

TEST(LidAnglePolicy, ProgressRunsFromOpenToShut)
{
    EXPECT_EQ(LidAnglePolicy::progress(150), 0.0);
    EXPECT_EQ(LidAnglePolicy::progress(LidAnglePolicy::openDegrees), 0.0);
    EXPECT_DOUBLE_EQ(LidAnglePolicy::progress(75), 0.5);
    EXPECT_EQ(LidAnglePolicy::progress(LidAnglePolicy::shutDegrees), 1.0);
    EXPECT_EQ(LidAnglePolicy::progress(0), 1.0);
    EXPECT_EQ(LidAnglePolicy::progress(std::nan("")), 0.0);
}

TEST(LidAngleController, ReadsWhileRunningAndForgetsTheAngleWhenStopped)
{
    ManualClock clock;
    ManualScheduler scheduler(clock);
    FakeLidAngleReading sensor;
    LidAngleController lid(&sensor, scheduler);
    std::vector<double> progress;
    std::vector<LidCue> cues;
    lid.onProgress = [&](double value) { progress.push_back(value); };
    lid.onCue = [&](LidCue cue) { cues.push_back(cue); };
    EXPECT_EQ(lid.angle(), std::nullopt);

    sensor.queued = {std::nullopt, 105, 105.2, 75, 40, 40.1, 90};
    lid.start();
    EXPECT_EQ(lid.angle(), std::nullopt);
    scheduler.advance(LidAngleController::readInterval * 6);
    EXPECT_EQ(lid.angle(), 90.0);
    // The 0.2 and 0.1 degree wobbles are not moves.
    ASSERT_EQ(progress.size(), 4u);
    EXPECT_DOUBLE_EQ(progress[1], 0.5);
    EXPECT_EQ(cues, (std::vector{LidCue::tucked, LidCue::reopened}));

    lid.stop();
    EXPECT_EQ(lid.angle(), std::nullopt);
    const int reads = sensor.reads;
    scheduler.advance(std::chrono::seconds(1));
    EXPECT_EQ(sensor.reads, reads);

    // A new run starts a new scene: a first reading that is tucked cues nothing.
    sensor.queued = {35};
    lid.start();
    scheduler.advance(LidAngleController::readInterval);
    EXPECT_EQ(lid.angle(), 35.0);
    EXPECT_EQ(cues.size(), 2u);
}

TEST(LidAngleController, WithoutASensorNeverRuns)
{
    ManualClock clock;
    ManualScheduler scheduler(clock);
    FakeLidAngleReading sensor;
    sensor.available = false;
    LidAngleController missing(&sensor, scheduler);
    missing.start();
    EXPECT_FALSE(missing.isRunning());
    LidAngleController none(nullptr, scheduler);
    none.start();
    EXPECT_FALSE(none.isRunning());
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

#include "Services/Impact/ImpactController.h"
#include "Services/Impact/MotionTraces.h"
#include "fakes/FakeMotionSensor.h"
#include "fakes/ManualClock.h"

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

struct Rig {
    ManualClock clock;
    FakeMotionSensor *sensor = nullptr;
    ImpactController controller{[this] {
                                    auto made = std::make_unique<FakeMotionSensor>();
                                    sensor = made.get();
                                    return made;
                                },
                                clock};

    // Plays a trace whose times are moved onto the rig's clock.
    void play(const MotionTrace &trace)
    {
        const double offset = uptimeSeconds(clock.uptime()) - trace.samples().front().uptimeSeconds;
        for (auto sample : trace.samples()) {
            sample.uptimeSeconds += offset;
            sensor->send(sample);
        }
    }
};

}

TEST(ImpactController, ReportsNoHardwareWithoutASensor)
{
    ManualClock clock;
    for (bool sensorStarts : {false, true}) {
        ImpactController none([] { return nullptr; }, clock);
        EXPECT_FALSE(none.start());
        EXPECT_FALSE(none.hardwareDetected());
        ImpactController unreadable([sensorStarts] { return std::make_unique<FakeMotionSensor>(sensorStarts); }, clock);
        EXPECT_EQ(unreadable.start(), sensorStarts);
        EXPECT_EQ(unreadable.hardwareDetected(), sensorStarts);
    }
}

TEST(ImpactController, FiresTheImmediateRoadAtOnceAndCountsOnTheGuiThread)
{
    Rig rig;
    std::vector<double> immediate;
    std::vector<double> reported;
    rig.controller.onImmediateImpact = [&](double strength) { immediate.push_back(strength); };
    rig.controller.onImpact = [&](double strength) { reported.push_back(strength); };
    QSignalSpy changed(&rig.controller, &ImpactController::changed);
    ASSERT_TRUE(rig.controller.start());
    EXPECT_TRUE(rig.controller.hardwareDetected());
    EXPECT_EQ(rig.sensor->label, QStringLiteral("local.knockwell.accelerometer"));

    rig.play(MotionTrace(4.0).tap(1.0, 0.6).tap(2.5, 1.4));
    ASSERT_EQ(immediate.size(), 2u);
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(rig.controller.sessionCount(), 0);

    QCoreApplication::processEvents();
    EXPECT_EQ(reported, immediate);
    EXPECT_EQ(rig.controller.sessionCount(), 2);
    EXPECT_NEAR(rig.controller.hardestImpact(), 1.4, 0.14);
    EXPECT_GE(rig.controller.estimatedLatencyMS(), 0.0);
    EXPECT_GE(changed.count(), 3);
}

TEST(ImpactController, AppliesSensitivityAndStops)
{
    Rig rig;
    int taps = 0;
    rig.controller.onImmediateImpact = [&](double) { ++taps; };
    rig.controller.setSensitivity(0.0);
    ASSERT_TRUE(rig.controller.start());
    rig.play(MotionTrace(3.0).tap(1.5, 0.2));
    EXPECT_EQ(taps, 0);
    rig.controller.setSensitivity(1.0);
    rig.play(MotionTrace(3.0).tap(1.5, 0.2));
    EXPECT_EQ(taps, 1);

    rig.controller.stop();
    EXPECT_FALSE(rig.controller.isRunning());
}

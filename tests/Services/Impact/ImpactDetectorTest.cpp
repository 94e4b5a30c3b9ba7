#include "Services/Impact/ImpactDetector.h"
#include "Services/Impact/MotionTraces.h"

#include <gtest/gtest.h>

namespace {

std::vector<Impact> detect(const MotionTrace &trace, double sensitivity = 0.6, double cooldown = 0.5)
{
    ImpactDetector detector;
    detector.setSensitivity(sensitivity);
    detector.setCooldown(cooldown);
    std::vector<Impact> impacts;
    for (const auto &sample : trace.samples()) {
        if (auto impact = detector.process(sample))
            impacts.push_back(*impact);
    }
    return impacts;
}

double since(const Impact &impact)
{
    return impact.uptimeSeconds - 1000.0;
}

}

TEST(ImpactDetector, FindsEachTapOnceWithItsStrength)
{
    const std::vector<double> strengths{0.25, 0.5, 1.0, 2.0};
    MotionTrace trace(6.0);
    for (std::size_t i = 0; i < strengths.size(); ++i)
        trace.tap(1.0 + double(i), strengths[i]);
    const auto impacts = detect(trace);
    ASSERT_EQ(impacts.size(), strengths.size());
    for (std::size_t i = 0; i < strengths.size(); ++i) {
        EXPECT_NEAR(since(impacts[i]), 1.0 + double(i), 0.011);
        EXPECT_NEAR(impacts[i].strengthG, strengths[i], 0.1 * strengths[i]);
    }
}

TEST(ImpactDetector, HonoursTheCooldown)
{
    MotionTrace trace(3.0);
    trace.tap(1.0, 0.8).tap(1.3, 0.8).tap(1.6, 0.8);
    const auto slow = detect(trace, 0.6, 0.5);
    ASSERT_EQ(slow.size(), 2u);
    EXPECT_NEAR(since(slow[0]), 1.0, 0.011);
    EXPECT_NEAR(since(slow[1]), 1.6, 0.011);
    EXPECT_EQ(detect(trace, 0.6, 0.2).size(), 3u);
    // Even without a cooldown, one tap's ringing is one tap.
    EXPECT_EQ(detect(MotionTrace(2.0).tap(1.0, 2.0), 0.6, 0.0).size(), 1u);
}

TEST(ImpactDetector, IgnoresWhatIsNotATap)
{
    struct Case {
        const char *name;
        MotionTrace trace;
        double sensitivity;
    };
    std::vector<Case> cases;
    cases.push_back({"typing", MotionTrace(10.0).typing(0.5, 9.5, 0.035), 0.6});
    cases.push_back({"typing, most sensitive", MotionTrace(10.0).typing(0.5, 9.5, 0.035), 1.0});
    cases.push_back({"walking", MotionTrace(10.0).walking(), 0.6});
    cases.push_back({"walking with footfalls", MotionTrace(10.0).walking(0.14), 0.6});
    cases.push_back({"slow tilt", MotionTrace(6.0).turn(1.0, 4.0, 60.0), 0.6});
    cases.push_back({"lid opening with its stop", MotionTrace(4.0).turn(1.0, 1.7, 100.0).ring(1.72, 0.15, 40.0, 0.02), 0.6});
    MotionTrace knocks(8.0);
    for (double t = 1.0; t < 7.5; t += 1.0)
        knocks.ring(t, 0.05, 30.0, 0.05);
    cases.push_back({"knocks on the table", knocks, 0.6});
    for (const auto &c : cases)
        EXPECT_TRUE(detect(c.trace, c.sensitivity).empty()) << c.name;
}

TEST(ImpactDetector, StillFindsAFirmTapWhileWalking)
{
    MotionTrace trace(6.0);
    trace.walking().tap(3.0, 1.5);
    const auto impacts = detect(trace);
    ASSERT_EQ(impacts.size(), 1u);
    EXPECT_NEAR(since(impacts[0]), 3.0, 0.011);
}

TEST(ImpactDetector, SensitivityMovesTheThreshold)
{
    for (double s = 0.1; s <= 1.0; s += 0.1)
        EXPECT_LT(ImpactDetector::thresholdG(s), ImpactDetector::thresholdG(s - 0.1));
    const MotionTrace light = MotionTrace(3.0).tap(1.5, 0.1);
    struct Case {
        double sensitivity;
        bool detected;
    };
    for (const auto &[sensitivity, detected] : std::vector<Case>{{0.0, false}, {0.6, false}, {0.8, true}, {1.0, true}})
        EXPECT_EQ(detect(light, sensitivity).size(), detected ? 1u : 0u) << sensitivity;
}

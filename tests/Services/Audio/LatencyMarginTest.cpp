#include "Services/Audio/LatencyMargin.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {
struct Step {
    std::chrono::milliseconds at;
    bool underrun;
    std::chrono::microseconds expected;
};

void run(const char *name, const std::vector<Step> &steps)
{
    LatencyMargin margin;
    const Clock::Uptime start{1h};
    for (const Step &step : steps) {
        if (step.underrun)
            margin.noteUnderrun(start + step.at);
        EXPECT_EQ(margin.at(start + step.at), step.expected) << name << " at " << step.at.count() << " ms";
    }
}
}

TEST(LatencyMargin, WidensAStepPerUnderrunAndNarrowsAStepPerQuietStretch)
{
    run("starts without a margin", {{0ms, false, 0us}, {60s, false, 0us}});
    run("one step, then back after ten quiet seconds",
        {{0ms, true, 4ms}, {9999ms, false, 4ms}, {10s, false, 0us}, {30s, false, 0us}});
    // Each step down needs a quiet stretch of its own, however long the silence before it.
    run("steps down one at a time",
        {{0ms, true, 4ms}, {1s, true, 8ms}, {2s, true, 12ms}, {11s, false, 12ms}, {12s, false, 8ms},
         {90s, false, 4ms}, {99s, false, 4ms}, {100s, false, 0us}});
    run("an underrun restarts the quiet stretch", {{0ms, true, 4ms}, {9s, true, 8ms}, {18s, false, 8ms}, {19s, false, 4ms}});
    run("never past twenty milliseconds",
        {{0ms, true, 4ms}, {1ms, true, 8ms}, {2ms, true, 12ms}, {3ms, true, 16ms}, {4ms, true, 20ms}, {5ms, true, 20ms},
         {6ms, true, 20ms}, {10006ms, false, 16ms}});
}

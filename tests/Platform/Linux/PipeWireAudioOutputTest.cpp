#include "Platform/Linux/PipeWireAudioOutput.h"

#include <gtest/gtest.h>

// The graph rounds a requested cycle down to a power of two: every margin step has to ask for
// one that survives the rounding, and the widest margin must not ask past the ceiling.
TEST(PipeWireAudioOutput, AsksTheGraphForTheNearestPowerOfTwoCycle)
{
    using namespace std::chrono_literals;
    struct Case {
        std::chrono::microseconds margin;
        int rate;
        int expected;
    };
    for (const Case c : {Case{0us, 48000, 256}, Case{4000us, 48000, 512}, Case{8000us, 48000, 512},
                         Case{12000us, 48000, 1024}, Case{20000us, 48000, 1024}, Case{4000us, 44100, 512}}) {
        EXPECT_EQ(PipeWireAudioOutput::nodeLatencyFrames(PipeWireAudioOutput::baseLatencyFrames, c.margin, c.rate),
                  c.expected)
            << c.margin.count() << " us at " << c.rate;
    }
}

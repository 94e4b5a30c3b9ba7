#include "Views/Studio/WaveformHandleDrag.h"

#include <gtest/gtest.h>

using Handle = WaveformHandleDrag::Handle;

TEST(WaveformHandleDrag, KeepsAtLeastOneFrameAndWholeFrameFractions)
{
    struct Case {
        const char *name;
        Handle handle;
        double x, width;
        qint64 frames;
        WaveformSelection current;
        std::optional<WaveformSelection> expected;
    };
    // A 228-point view has a 200-point track from x = 14 to x = 214.
    const Case cases[] = {
        {"no frames", Handle::start, 50, 228, 0, {0.2, 0.8}, std::nullopt},
        {"start past the end", Handle::start, 300, 228, 100, {0.2, 0.5}, WaveformSelection{0.49, 0.5}},
        {"end left of the inset", Handle::end, 2, 228, 100, {0.2, 0.8}, WaveformSelection{0.2, 0.21}},
        {"end beyond the track", Handle::end, 500, 228, 100, {0.2, 0.8}, WaveformSelection{0.2, 1.0}},
        {"start to the middle", Handle::start, 114, 228, 100, {0.0, 1.0}, WaveformSelection{0.5, 1.0}},
        {"narrower than a handle snaps only", Handle::start, 10, 20, 3, {0.5, 0.9}, WaveformSelection{1.0 / 3, 2.0 / 3}},
        {"reversed selection snaps only", Handle::end, 114, 228, 100, {0.8, 0.2}, WaveformSelection{0.8, 0.2}},
        {"non-finite x snaps only", Handle::end, std::nan(""), 228, 100, {0.25, 0.75}, WaveformSelection{0.25, 0.75}},
    };
    for (const Case &c : cases) {
        const auto result = WaveformHandleDrag::drag(c.handle, c.x, c.width, c.frames, c.current);
        ASSERT_EQ(result.has_value(), c.expected.has_value()) << c.name;
        if (result) {
            EXPECT_DOUBLE_EQ(result->start, c.expected->start) << c.name;
            EXPECT_DOUBLE_EQ(result->end, c.expected->end) << c.name;
        }
    }
}

TEST(WaveformHandleDrag, DraggingOneHandleNeverMovesTheOther)
{
    // With truncation alone, 0.29 · 100 gives frame 28 and each drag of the start would creep
    // the end one frame to the left.
    WaveformSelection selection{0.10, 0.29};
    for (int step = 0; step < 20; ++step)
        selection = *WaveformHandleDrag::drag(Handle::start, 14 + step, 228, 100, selection);
    EXPECT_DOUBLE_EQ(selection.end, 0.29);
}

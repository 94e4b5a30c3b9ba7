#include "Platform/Linux/SdlAudioOutput.h"

#include "Services/Audio/AudioEngine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
struct SilentRenderer final : AudioRenderer {
    void render(float *interleaved, int frames) noexcept override
    {
        std::fill(interleaved, interleaved + 2 * frames, 0.0f);
    }
};
}

// An open given up while SDL is still at it leaves the device to the thread that opens it,
// which must close it: SDL keeps at most 16 devices open, so opens abandoned one after
// another would use them up and the next open would fail.
TEST(SdlAudioOutput, OpensAbandonedMidwayLeaveNoDeviceOpen)
{
    SilentRenderer renderer;
    SdlAudioOutput output;
    output.abandonOpens(true);
    int abandoned = 0;
    for (int i = 0; i < 64; ++i)
        abandoned += !output.open(AudioEngine::bufferFrames, renderer).has_value();
    ASSERT_GT(abandoned, 16) << "too few opens were given up before SDL had opened the device";
    output.abandonOpens(false);
    const auto format = output.open(AudioEngine::bufferFrames, renderer);
    EXPECT_TRUE(format) << format.error().message.toStdString();
    output.close();
}

#include "Platform/Linux/SdlAudioOutput.h"

#include "Services/Audio/AudioEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {
struct SilentRenderer final : AudioRenderer {
    void render(float *interleaved, int frames) noexcept override
    {
        std::fill(interleaved, interleaved + 2 * frames, 0.0f);
    }
};
}

// An open given up while SDL is still at it leaves the device to SDL's thread, which must
// close it: SDL keeps at most 16 devices open, so opens abandoned one after another would use
// them up and the next open would fail. Abandoned from another thread at every moment, some
// opens give up midway and some open; each one opened is closed again.
TEST(SdlAudioOutput, OpensAbandonedMidwayLeaveNoDeviceOpen)
{
    SilentRenderer renderer;
    SdlAudioOutput output;
    std::atomic<bool> opening{true};
    std::thread quitter([&] {
        while (opening) {
            output.abandonOpens(true);
            std::this_thread::yield();
            output.abandonOpens(false);
        }
    });
    int abandoned = 0;
    for (int i = 0; i < 64; ++i) {
        const auto format = output.open(AudioEngine::bufferFrames, renderer);
        abandoned += !format.has_value();
        output.close();
    }
    opening = false;
    quitter.join();
    output.abandonOpens(false);
    const auto format = output.open(AudioEngine::bufferFrames, renderer);
    EXPECT_TRUE(format) << format.error().message.toStdString() << " after " << abandoned << " abandoned";
    output.close();
}

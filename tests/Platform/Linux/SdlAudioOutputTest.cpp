#include "Platform/Linux/SdlAudioOutput.h"

#include "Services/Audio/AudioEngine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

namespace {
struct CountingRenderer final : AudioRenderer {
    std::atomic<int> calls{0};
    std::atomic<int> lastFrames{0};
    void render(float *interleaved, int frames) noexcept override
    {
        std::fill(interleaved, interleaved + 2 * frames, 0.0f);
        lastFrames = frames;
        ++calls;
    }
};
}

// The test program runs SDL's "dummy" driver: a device that consumes buffers in real time.
TEST(SdlAudioOutput, OpensPausedRendersOnceResumedAndStopsOnClose)
{
    SdlAudioOutput output;
    EXPECT_GT(output.preferredSampleRate(), 0);
    CountingRenderer renderer;
    const auto format = output.open(AudioEngine::initialBufferFrames, renderer);
    ASSERT_TRUE(format) << format.error().message.toStdString();
    EXPECT_GT(format->sampleRate, 0);
    EXPECT_GT(format->bufferFrames, 0);
    EXPECT_FALSE(output.isLost());

    output.resume();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (renderer.calls == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_GT(renderer.calls, 0);
    EXPECT_EQ(renderer.lastFrames, format->bufferFrames);

    output.close();
    const int calls = renderer.calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(renderer.calls, calls);
}

TEST(SdlAudioOutput, SoundServersGetALongerBufferThanDevices)
{
    struct Case {
        const char *driver;
        int requested;
        int expected;
    };
    for (const Case c : {Case{"pulseaudio", 128, 512}, Case{"pipewire", 128, 512}, Case{"pipewire", 1024, 1024},
                         Case{"alsa", 128, 128}, Case{"dummy", 256, 256}})
        EXPECT_EQ(SdlAudioOutput::bufferFramesFor(QString::fromLatin1(c.driver), c.requested), c.expected) << c.driver;
}

TEST(SdlAudioOutput, LeavesTerminationSignalsToTheApplication)
{
    SdlAudioOutput output;
    CountingRenderer renderer;
    ASSERT_TRUE(output.open(AudioEngine::initialBufferFrames, renderer));
    struct sigaction action {};
    sigaction(SIGTERM, nullptr, &action);
    EXPECT_EQ(action.sa_handler, SIG_DFL);
    output.close();
}

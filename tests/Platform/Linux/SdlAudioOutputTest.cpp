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
    EXPECT_GT(output.preferredSampleRate().value_or(0), 0);
    CountingRenderer renderer;
    const auto format = output.open(AudioEngine::bufferFrames, renderer);
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

TEST(SdlAudioOutput, SoundServersGetALongerBufferThanDevicesAndTheMarginComesOnTop)
{
    using namespace std::chrono_literals;
    struct Case {
        const char *driver;
        int requested;
        std::chrono::microseconds margin;
        int rate;
        int expected;
    };
    for (const Case c : {Case{"pulseaudio", 128, 0us, 48000, 512}, Case{"pipewire", 128, 0us, 48000, 512},
                         Case{"pipewire", 1024, 0us, 48000, 1024}, Case{"alsa", 128, 0us, 48000, 128},
                         Case{"dummy", 256, 0us, 48000, 256}, Case{"pulseaudio", 128, 8ms, 48000, 512},
                         Case{"pulseaudio", 128, 12ms, 48000, 1024}, Case{"alsa", 128, 4ms, 48000, 256},
                         Case{"alsa", 128, 20ms, 44100, 512}})
        EXPECT_EQ(SdlAudioOutput::bufferFramesFor(QString::fromLatin1(c.driver), c.requested, c.margin, c.rate),
                  c.expected)
            << c.driver;
}

// Under the sanitizers this also catches SDL writing past a buffer of an odd length.
TEST(SdlAudioOutput, AStreamOpenedWithAMarginRendersBuffersOfItsLength)
{
    SdlAudioOutput output;
    EXPECT_TRUE(output.setMargin(std::chrono::milliseconds(12))) << "no stream is open: the next one takes it";
    CountingRenderer renderer;
    const auto format = output.open(AudioEngine::bufferFrames, renderer);
    ASSERT_TRUE(format);
    EXPECT_GT(format->bufferFrames, AudioEngine::bufferFrames);
    output.resume();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (renderer.calls < 3 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(renderer.lastFrames, format->bufferFrames);
    EXPECT_FALSE(output.setMargin(std::chrono::milliseconds(0))) << "an open stream cannot take it";
    output.close();
}

TEST(SdlAudioOutput, LeavesTerminationSignalsToTheApplication)
{
    SdlAudioOutput output;
    CountingRenderer renderer;
    ASSERT_TRUE(output.open(AudioEngine::bufferFrames, renderer));
    struct sigaction action {};
    sigaction(SIGTERM, nullptr, &action);
    EXPECT_EQ(action.sa_handler, SIG_DFL);
    output.close();
}

// SDL is kept from its own drivers for the servers found silent, and from those it takes only
// when named; with nothing silent it makes its own choice.
TEST(SdlAudioOutput, TriesNoDriverOfASilentServer)
{
    const QStringList available{"pulseaudio", "alsa", "sndio", "pipewire", "dsp", "disk", "dummy"};
    struct Case {
        SoundServers silent;
        const char *expected;
    };
    for (const Case &c : {Case{{}, ""}, Case{{SoundServer::pulseAudio}, "alsa,sndio,pipewire,dsp"},
                          Case{{SoundServer::pipeWire}, "pulseaudio,alsa,sndio,dsp"},
                          Case{{SoundServer::pipeWire, SoundServer::pulseAudio}, "alsa,sndio,dsp"}})
        EXPECT_EQ(SdlAudioOutput::driversAvoiding(available, c.silent), c.expected) << c.expected;
}

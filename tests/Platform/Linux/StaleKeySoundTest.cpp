#include "Platform/Linux/PipeWireAudioOutput.h"
#include "Platform/Linux/PulseAudioOutput.h"

#include "Services/Audio/AudioEngine.h"
#include "Services/Audio/AudioMixer.h"
#include "Services/Audio/AudioTestSounds.h"
#include "fakes/FakePipeWireServer.h"
#include "fakes/FakePulseServer.h"

#include <gtest/gtest.h>

#include <memory>

using namespace std::chrono_literals;

namespace {
constexpr int rate = 48000;

// A road to a fake server, playing through a mixer, on the server's own monotonic clock.
class KeyRoad {
public:
    virtual ~KeyRoad() = default;
    virtual std::chrono::nanoseconds now() const = 0;
    virtual AudioOutput &output() = 0;
    // Time passes while the server reads on, or while it is stopped (SIGSTOP).
    virtual void play(std::chrono::milliseconds length) = 0;
    virtual void stopServer() = 0;
    virtual void continueServer() = 0;
    // Everything the sink read, left and right.
    virtual std::vector<float> heard() const = 0;

    AudioMixer mixer{8};

    void open()
    {
        const auto format = output().open(128, mixer);
        ASSERT_TRUE(format.has_value());
        mixer.prepare(format->sampleRate);
    }
    // A key pressed at `keyAt`, its sound a level of its own, handed to the mixer now.
    void post(float level, std::chrono::nanoseconds keyAt)
    {
        AudioMixer::Sound sound{AudioTestSounds::constant(level, rate / 100), m_voice, 1.0f, 1.0f, 1.0};
        sound.deadline = keyAt + AudioEngine::lateLimit;
        ASSERT_TRUE(mixer.post(std::move(sound)));
        m_voice = (m_voice + 1) % mixer.voiceCount();
    }

private:
    int m_voice = 0;
};

class PulseRoad final : public KeyRoad {
public:
    std::chrono::nanoseconds now() const override { return std::chrono::microseconds(server.library().rtclockNow()); }
    AudioOutput &output() override { return m_output; }
    void play(std::chrono::milliseconds length) override
    {
        for (auto ms = 0ms; ms < length; ++ms)
            server.advance(1000);
    }
    void stopServer() override { server.stopServer(); }
    void continueServer() override { server.continueServer(); }
    std::vector<float> heard() const override { return server.readSamples; }

    FakePulseServer server;

private:
    PulseAudioOutput m_output{&server.library()};
};

class PipeWireRoad final : public KeyRoad {
public:
    static constexpr std::uint32_t cycleFrames = rate / 200;

    std::chrono::nanoseconds now() const override { return std::chrono::nanoseconds(server.nowNs()); }
    AudioOutput &output() override { return *m_output; }
    // A stopped server runs no cycles.
    void play(std::chrono::milliseconds length) override
    {
        if (m_stopped)
            server.advance(std::chrono::nanoseconds(length).count());
        for (auto ms = 0ms; ms < length && !m_stopped; ms += 5ms)
            server.cycle(cycleFrames);
    }
    void stopServer() override { m_stopped = true; }
    void continueServer() override { m_stopped = false; }
    std::vector<float> heard() const override { return server.played; }

    FakePipeWireServer server;

private:
    bool m_stopped = false;
    std::unique_ptr<PipeWireAudioOutput> m_output = std::make_unique<PipeWireAudioOutput>(&server.library());
};

bool contains(const std::vector<float> &samples, float level)
{
    return std::ranges::any_of(samples, [&](float s) { return std::abs(s - level) < AudioTestSounds::quantum; });
}
}

// A key sound that the listener would hear more than the late limit after its key is not played,
// on either road, whatever held it: the engine's queue, a reopen of the stream, or a server that
// stopped reading with sounds written ahead of it. Keys still fresh when the road can play them
// are heard, none on top of another, and every sound posted is taken in.
TEST(StaleKeySound, IsDroppedWhereverItWasHeldAndFreshOnesPlay)
{
    enum class Held { queue, reopen, stall };
    enum class Server { pulse, pipeWire };
    // Each key's level tells it apart in what the sink read.
    constexpr float opening = 0.02f, stale = 0.04f, staler = 0.06f, stalest = 0.08f, fresh = 0.10f, after = 0.12f;
    for (const Server server : {Server::pulse, Server::pipeWire}) {
        for (const Held held : {Held::queue, Held::reopen, Held::stall}) {
            SCOPED_TRACE(::testing::Message() << "server " << int(server) << ", held by " << int(held));
            std::unique_ptr<KeyRoad> road = server == Server::pulse ? std::unique_ptr<KeyRoad>(new PulseRoad)
                                                                    : std::unique_ptr<KeyRoad>(new PipeWireRoad);
            road->open();
            road->post(opening, road->now());
            road->output().resume();
            road->play(100ms);
            switch (held) {
            case Held::queue:
                // Pressed a while ago: it waited behind other work.
                road->post(stale, road->now() - 150ms);
                road->post(fresh, road->now() - 20ms);
                road->output().soundPosted();
                break;
            case Held::reopen: {
                road->output().close();
                const auto keyAt = road->now();
                road->play(150ms);
                road->open();
                road->post(stale, keyAt);
                road->post(fresh, road->now() - 30ms);
                road->output().resume();
                break;
            }
            case Held::stall: {
                // Keys typed while the server does not read, the first written before the
                // stall shows.
                road->stopServer();
                for (const auto &[after, level] : {std::pair{10ms, stale}, {125ms, staler}, {125ms, stalest}, {60ms, fresh}}) {
                    road->play(after);
                    road->post(level, road->now());
                    road->output().soundPosted();
                }
                road->play(60ms);
                road->continueServer();
                break;
            }
            }
            road->play(200ms);
            road->post(after, road->now());
            road->output().soundPosted();
            road->play(200ms);

            const std::vector<float> heard = road->heard();
            for (const float level : {opening, fresh, after})
                EXPECT_TRUE(contains(heard, level)) << "a fresh key not heard: " << level;
            for (const float level : {stale, staler, stalest})
                EXPECT_FALSE(contains(heard, level)) << "a stale key heard: " << level;
            EXPECT_LE(*std::ranges::max_element(heard), after + AudioTestSounds::quantum) << "keys on top of another";
            EXPECT_TRUE(road->mixer.isSilent()) << "a sound left waiting";
        }
    }
}

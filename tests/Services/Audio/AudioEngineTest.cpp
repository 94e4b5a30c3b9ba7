#include "Services/Audio/AudioEngine.h"
#include "Services/Audio/AudioMixer.h"

#include "Services/Audio/AudioTestSounds.h"
#include "Services/Audio/PeakLimiter.h"
#include "fakes/FakeAudioOutput.h"
#include "fakes/ManualAudioTimer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <future>
#include <thread>
#include <limits>
#include <set>

using namespace std::chrono_literals;
using AudioTestSounds::bankWith;
using AudioTestSounds::constant;
using AudioTestSounds::playable;

namespace {
struct EngineFixture {
    ManualClock clock;
    ManualAudioTimer timer{clock};
    std::shared_ptr<FakeAudioOutput::State> device = std::make_shared<FakeAudioOutput::State>();
    std::unique_ptr<AudioEngine> engine;

    explicit EngineFixture(int voices = 12)
    {
        engine = std::make_unique<AudioEngine>(voices, 2000ms, std::make_unique<FakeAudioOutput>(device), clock,
                                               timer.delayedCall());
    }

    void play(const SoundRequest &request)
    {
        engine->play(request);
        engine->flush();
    }
    std::vector<float> render(int frames) { return device->render(frames); }
    // Left channel only, the one most checks look at.
    std::vector<float> renderLeft(int frames)
    {
        const std::vector<float> stereo = render(frames);
        std::vector<float> left;
        for (std::size_t i = 0; i < stereo.size(); i += 2)
            left.push_back(stereo[i]);
        return left;
    }
    void idle(std::chrono::milliseconds step)
    {
        timer.advance(step);
        engine->flush();
    }
};

SoundRequest request(KeyGroup group = KeyGroup::regular, double volume = 1.0)
{
    SoundRequest r;
    r.group = group;
    r.volume = volume;
    return r;
}
}

TEST(AudioEngine, PanIsConstantPowerWithUnityAtTheCentre)
{
    for (double pan : {-1.0, -0.6, -0.2, 0.0, 0.3, 0.75, 1.0}) {
        const auto [left, right] = AudioEngine::panGains(pan);
        EXPECT_NEAR(left * left + right * right, 2.0, 1e-5) << pan;
    }
    const auto centre = AudioEngine::panGains(0.0);
    EXPECT_NEAR(centre.first, 1.0, 1e-6);
    EXPECT_NEAR(centre.second, 1.0, 1e-6);
    const auto hardLeft = AudioEngine::panGains(-1.0);
    EXPECT_NEAR(hardLeft.first, std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(hardLeft.second, 0.0, 1e-6);
    EXPECT_EQ(AudioEngine::panGains(-7.0), hardLeft);
    EXPECT_GT(AudioEngine::panGains(0.3).second, AudioEngine::panGains(0.1).second);
}

TEST(AudioEngine, PansAMonoSampleAndKeepsAStereoSampleItsOwnSides)
{
    EngineFixture f;
    f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.25f, 480)));
    SoundRequest left = request();
    left.pan = -1.0;
    f.play(left);
    const std::vector<float> mono = f.render(4);
    EXPECT_NEAR(mono[0], 0.25 * std::sqrt(2.0), 1e-5);
    EXPECT_NEAR(mono[1], 0.0, 1e-6);

    DecodedSample stereo{{}, 2, 48000};
    for (int i = 0; i < 480; ++i)
        stereo.samples.insert(stereo.samples.end(), {0.25f, 0.5f});
    f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, playable(stereo)));
    f.render(1024);
    f.play(request());
    const std::vector<float> frame = f.render(4);
    EXPECT_NEAR(frame[0], 0.25, 1e-6);
    EXPECT_NEAR(frame[1], 0.5, 1e-6);
}

TEST(AudioEngine, PitchAndVolumeVaryWithinTheirSettings)
{
    constexpr qint64 length = 480;
    constexpr double pitchVariation = 0.06;
    constexpr double volumeVariation = 0.15;
    EngineFixture f;
    f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.25f, length)));
    std::set<std::size_t> lengths;
    std::set<float> levels;
    for (int i = 0; i < 200; ++i) {
        SoundRequest r = request();
        r.pitchVariation = pitchVariation;
        r.volumeVariation = volumeVariation;
        f.play(r);
        const std::vector<float> left = f.renderLeft(1024);
        const auto heard = std::size_t(std::ranges::count_if(left, [](float v) { return v != 0.0f; }));
        EXPECT_GE(heard, std::size_t(std::floor(length / (1 + pitchVariation))));
        EXPECT_LE(heard, std::size_t(std::ceil(length / (1 - pitchVariation))) + 1);
        EXPECT_GE(left[0], 0.25 * (1 - volumeVariation) - 1e-6);
        EXPECT_LE(left[0], 0.25 * (1 + volumeVariation) + 1e-6);
        lengths.insert(heard);
        levels.insert(left[0]);
    }
    EXPECT_GT(lengths.size(), 5u);
    EXPECT_GT(levels.size(), 20u);
}

TEST(AudioEngine, VoicesAreUsedInTurnAndATakenVoiceFadesOutQuickly)
{
    struct Case {
        int voices;
        bool firstIsCut;
    };
    for (const Case c : {Case{2, true}, Case{3, false}}) {
        EngineFixture f(c.voices);
        auto bank = std::make_shared<SoundBank>(48000, 1.0f);
        bank->add(KeyGroup::regular, KeyPhase::down, constant(0.1f, 48000));
        bank->add(KeyGroup::space, KeyPhase::down, constant(0.01f, 48000));
        bank->add(KeyGroup::enter, KeyPhase::down, constant(0.001f, 48000));
        f.engine->setSounds(bank);
        for (KeyGroup group : {KeyGroup::regular, KeyGroup::space}) {
            f.play(request(group));
            f.render(128);
        }
        f.play(request(KeyGroup::enter));
        const std::vector<float> left = f.renderLeft(256);
        if (!c.firstIsCut) {
            EXPECT_NEAR(left[0], 0.111, AudioTestSounds::quantum);
            EXPECT_NEAR(left[255], 0.111, AudioTestSounds::quantum);
            continue;
        }
        // The tail of the cut sound ramps down over 1–2 ms, never jumping.
        EXPECT_NEAR(left[0], 0.111, 1e-3);
        for (std::size_t i = 1; i < left.size(); ++i) {
            EXPECT_LE(left[i], left[i - 1] + 1e-7) << i;
            EXPECT_LT(left[i - 1] - left[i], 0.1 / 40) << i;
        }
        // From the frame the new sound starts at, one step of a straight 1.5 ms ramp a frame.
        for (std::size_t i = 0; i < 100; ++i)
            EXPECT_NEAR(left[i], 0.011 + 0.1 * std::max(0.0, 1.0 - double(i) / 72.0), 2 * AudioTestSounds::quantum) << i;
    }
}

TEST(AudioEngine, LoudnessMatchingAppliesThePacksGainWhenOn)
{
    for (bool matching : {true, false}) {
        EngineFixture f;
        f.engine->setLoudnessMatching(matching);
        f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 480), 2.5f));
        f.play(request());
        EXPECT_NEAR(f.renderLeft(4)[0], matching ? 0.25 : 0.1, AudioTestSounds::quantum) << matching;
    }
}

TEST(AudioEngine, TwelveLoudVoicesStayWithinFullScale)
{
    EngineFixture f(12);
    f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, AudioTestSounds::sine(1.0f, 441, 9600)));
    float loudest = 0.0f;
    for (int voice = 0; voice < 12; ++voice) {
        SoundRequest r = request(KeyGroup::regular, 2.0);
        r.pan = voice % 2 ? 1.0 : -1.0;
        f.play(r);
        for (float value : f.render(64))
            loudest = std::max(loudest, std::fabs(value));
    }
    for (int i = 0; i < 20; ++i) {
        for (float value : f.render(512))
            loudest = std::max(loudest, std::fabs(value));
    }
    EXPECT_LE(loudest, 1.0f);
    EXPECT_GT(loudest, 0.9f);
}

TEST(AudioEngine, LimiterTurnsBrokenSamplesIntoSilence)
{
    PeakLimiter limiter;
    limiter.prepare(48000);
    std::vector<float> frames = {std::numeric_limits<float>::quiet_NaN(), 0.5f, std::numeric_limits<float>::infinity(),
                                 -40.0f, 0.2f, 0.2f};
    limiter.process(frames.data(), 3);
    for (float value : frames) {
        EXPECT_TRUE(std::isfinite(value));
        EXPECT_LE(std::fabs(value), PeakLimiter::ceiling);
    }
    EXPECT_EQ(frames[0], 0.0f);
    EXPECT_NEAR(frames[3], -PeakLimiter::ceiling, 1e-6);
}

TEST(AudioEngine, UnusableRequestsAreDroppedAndLoudOnesClamped)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char *name;
        SoundRequest request;
        float expected;
    };
    const std::vector<Case> cases = {
        {"pan", {KeyGroup::regular, KeyPhase::down, nan, 1.0, 0.0, 0.0}, 0.0f},
        {"volume", {KeyGroup::regular, KeyPhase::down, 0.0, inf, 0.0, 0.0}, 0.0f},
        {"volume variation", {KeyGroup::regular, KeyPhase::down, 0.0, 1.0, nan, 0.0}, 0.0f},
        {"pitch variation", {KeyGroup::regular, KeyPhase::down, 0.0, 1.0, 0.0, -inf}, 0.0f},
        {"too loud", {KeyGroup::regular, KeyPhase::down, 0.0, 5.0, 0.0, 0.0}, 0.2f},
        {"negative volume", {KeyGroup::regular, KeyPhase::down, 0.0, -1.0, 0.0, 0.0}, 0.0f},
        {"pan past the edge", {KeyGroup::regular, KeyPhase::down, 3.0, 1.0, 0.0, 0.0}, 0.0f},
    };
    for (const Case &c : cases) {
        EngineFixture f;
        f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 480)));
        f.play(c.request);
        EXPECT_NEAR(f.renderLeft(4)[0], c.expected, AudioTestSounds::quantum) << c.name;
    }
}

TEST(AudioEngine, SamplesAtAnotherRateKeepTheirPitch)
{
    EngineFixture f;
    f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 240, 24000)));
    f.play(request());
    const std::vector<float> left = f.renderLeft(1024);
    EXPECT_EQ(std::ranges::count_if(left, [](float v) { return v != 0.0f; }), 480);
}

// The output closes after two idle seconds, or at once on stop, and the next sound opens it
// again and starts in its first buffer.
TEST(AudioEngine, ClosesWhenIdleOrStoppedAndTheNextSoundStartsInTheFirstBuffer)
{
    for (const bool stopped : {false, true}) {
        SCOPED_TRACE(stopped ? "stopped" : "idle");
        EngineFixture f;
        f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 480)));
        EXPECT_FALSE(f.engine->isRunning());
        f.play(request());
        EXPECT_TRUE(f.engine->isRunning());
        f.render(1024);

        if (stopped) {
            f.engine->stop();
        } else {
            f.idle(1999ms);
            EXPECT_TRUE(f.engine->isRunning());
            f.idle(1ms);
        }
        EXPECT_FALSE(f.engine->isRunning());
        EXPECT_EQ(f.device->closes, 1);

        f.play(request());
        EXPECT_TRUE(f.engine->isRunning());
        EXPECT_EQ(f.device->opens, 2);
        EXPECT_NEAR(f.renderLeft(1)[0], 0.1, AudioTestSounds::quantum);
    }
}

// The sound that resumes a stream is in its first buffer; each later one is announced, so an
// output that queues ahead can write it in front of its queue.
TEST(AudioEngine, AnnouncesEachSoundPostedToAResumedStream)
{
    EngineFixture f;
    f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 480)));
    for (int round = 0; round < 2; ++round) {
        f.play(request());
        EXPECT_EQ(f.device->posted, 2 * round);
        f.play(request());
        f.play(request());
        EXPECT_EQ(f.device->posted, 2 * round + 2);
        f.render(1024);
        f.idle(2000ms);
        EXPECT_FALSE(f.engine->isRunning());
    }
}

// A stream that ran dry keeps a wider margin: live where the road can take it, otherwise
// through a reopen between sounds; after a quiet stretch the margin steps back down.
TEST(AudioEngine, AStarvedStreamWidensItsMarginAndNarrowsItAfterAQuietStretch)
{
    for (const bool whilePlaying : {false, true}) {
        EngineFixture f;
        f.device->marginWhilePlaying = whilePlaying;
        f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 4800)));
        f.play(request());
        EXPECT_EQ(f.device->requestedFrames, AudioEngine::bufferFrames);
        EXPECT_EQ(f.device->openedMargin.load(), 0us);
        f.device->underruns = 1;
        f.play(request());
        EXPECT_EQ(f.device->margin.load(), LatencyMargin::step) << whilePlaying;
        EXPECT_EQ(f.device->opens, 1) << "a ringing sound is not cut off";
        f.render(48000);
        f.play(request());
        EXPECT_EQ(f.device->opens, whilePlaying ? 1 : 2);
        if (!whilePlaying) {
            EXPECT_EQ(f.device->openedMargin.load(), LatencyMargin::step);
            EXPECT_NEAR(f.renderLeft(1)[0], 0.1, AudioTestSounds::quantum) << "the sound that reopened it plays at once";
        }
        // Typing on without running dry: one step back down after the quiet stretch, and the
        // same underrun count seen again widens nothing.
        for (int second = 1; second < 10; ++second) {
            f.idle(1000ms);
            f.play(request());
            f.render(48000);
        }
        EXPECT_EQ(f.device->margin.load(), LatencyMargin::step) << whilePlaying;
        f.idle(1000ms);
        f.play(request());
        f.render(48000);
        f.play(request());
        EXPECT_EQ(f.device->margin.load(), 0us) << whilePlaying;
        EXPECT_EQ(f.device->opens, whilePlaying ? 1 : 3) << whilePlaying;
    }
}

TEST(AudioEngine, ARingingSoundKeepsTheOutputOpen)
{
    EngineFixture f;
    f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 3 * 48000)));
    f.play(request());
    f.render(480);
    f.idle(2000ms);
    EXPECT_TRUE(f.engine->isRunning());
    for (int i = 0; i < 3; ++i)
        f.render(48000);
    std::chrono::milliseconds waited{0};
    while (f.engine->isRunning() && waited < 5000ms) {
        f.idle(250ms);
        waited += 250ms;
    }
    EXPECT_FALSE(f.engine->isRunning());
    EXPECT_LE(waited, 2250ms);
}

TEST(AudioEngine, WithoutADeviceItReportsAndTriesAgainOnALaterSound)
{
    EngineFixture f;
    f.device->available = false;
    f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 480)));
    f.play(request());
    EXPECT_FALSE(f.engine->isRunning());
    ASSERT_TRUE(f.engine->outputError());
    EXPECT_EQ(f.engine->outputError()->domain, "Knockwell.Audio");
    EXPECT_EQ(f.engine->outputError()->message, "No sound output is available (no device).");

    f.device->available = true;
    f.play(request());
    EXPECT_FALSE(f.engine->isRunning()) << "a failed open waits before it is tried again";
    f.idle(AudioEngine::reopenDelay);
    f.play(request());
    EXPECT_TRUE(f.engine->isRunning());
    EXPECT_FALSE(f.engine->outputError());
    EXPECT_NEAR(f.renderLeft(1)[0], 0.1, AudioTestSounds::quantum);
}

TEST(AudioEngine, ALostDeviceIsOpenedAgainOnTheNextSound)
{
    EngineFixture f;
    f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 480)));
    f.play(request());
    f.device->lost = true;
    f.play(request());
    EXPECT_EQ(f.device->opens, 2);
    EXPECT_NEAR(f.renderLeft(1)[0], 0.1, AudioTestSounds::quantum);
}

// A server that takes two seconds to fail: the next try waits a full reopen delay after the
// failure, not after the key that started it.
TEST(AudioEngine, AFailedOpenIsTriedAgainOnlyAReopenDelayAfterItGaveUp)
{
    EngineFixture f;
    f.device->available = false;
    f.device->beforeOpen = [&] { f.clock.advance(2000ms); };
    f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 480)));
    for (int round = 1; round <= 2; ++round) {
        f.play(request());
        EXPECT_EQ(f.device->attempts, round);
        f.idle(AudioEngine::reopenDelay - 1ms);
        f.play(request());
        EXPECT_EQ(f.device->attempts, round) << "round " << round;
        f.idle(1ms);
    }
    f.device->available = true;
    f.device->beforeOpen = {};
    f.play(request());
    EXPECT_EQ(f.device->attempts, 3);
    EXPECT_TRUE(f.engine->isRunning());
}

// Keys typed while an open waits on a slow server make no attempt of their own, and none of
// them plays late: whether that open then fails or succeeds, the next key is heard alone.
TEST(AudioEngine, KeysQueuedBehindASlowOpenAreDroppedWithoutAttemptsOfTheirOwn)
{
    for (const bool opens : {false, true}) {
        EngineFixture f;
        f.device->available = opens;
        std::promise<void> entered;
        std::promise<void> answer;
        std::shared_future<void> answered = answer.get_future().share();
        f.device->beforeOpen = [&, answered] {
            if (f.device->attempts == 1) {
                entered.set_value();
                answered.wait();
            }
        };
        f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 480)));
        f.engine->play(request());
        entered.get_future().wait();
        for (int key = 0; key < 10; ++key) {
            f.engine->play(request());
            f.clock.advance(200ms);
        }
        answer.set_value();
        f.engine->flush();
        EXPECT_EQ(f.device->attempts, 1) << opens;
        EXPECT_EQ(f.engine->isRunning(), opens);
        const std::vector<float> backlog = f.renderLeft(1024);
        EXPECT_TRUE(std::ranges::all_of(backlog, [](float v) { return v == 0.0f; })) << opens;
        // A stream opened only for keys that came too late still closes when idle.
        f.idle(2000ms);
        EXPECT_FALSE(f.engine->isRunning()) << opens;

        f.device->available = true;
        f.play(request());
        const std::vector<float> next = f.renderLeft(1024);
        EXPECT_NEAR(next[0], 0.1, AudioTestSounds::quantum) << opens;
        EXPECT_NEAR(*std::ranges::max_element(next), 0.1, AudioTestSounds::quantum) << opens;
    }
}

// A key still plays when the queue was held up to the limit, and is dropped just past it, on a
// stream already open and on a closed one, which a late key does not open for itself.
TEST(AudioEngine, AKeyThatCannotStartWithinTheLateLimitIsDropped)
{
    for (const bool streamOpen : {true, false}) {
        for (const auto &[held, plays] : {std::pair{AudioEngine::lateLimit, true}, {AudioEngine::lateLimit + 1ms, false}}) {
            EngineFixture f;
            f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 480)));
            if (streamOpen) {
                f.play(request());
                f.render(1024);
            }
            std::promise<void> release;
            std::shared_future<void> released = release.get_future().share();
            f.engine->afterQueued([released] { released.wait(); });
            f.engine->play(request());
            f.clock.advance(held);
            release.set_value();
            f.engine->flush();
            EXPECT_EQ(std::abs(f.renderLeft(1)[0] - 0.1f) < AudioTestSounds::quantum, plays) << held.count();
            EXPECT_EQ(f.device->attempts, streamOpen || plays ? 1 : 0) << streamOpen << " " << held.count();
        }
    }
}

// Quit while a road waits on a server that never answers: the wait is abandoned, what was
// queued behind it tries nothing, and the engine opens normally afterwards.
TEST(AudioEngine, StopAbandonsAWaitOnASilentServerFromEveryEntryPoint)
{
    enum class Entry { play, rate, prepared };
    for (const Entry entry : {Entry::play, Entry::rate, Entry::prepared}) {
        EngineFixture f;
        f.device->hangs = true;
        f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 480)));
        std::thread asker;
        std::atomic<int> prepared{0};
        const auto prepare = [&prepared](int) {
            ++prepared;
            return bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 480));
        };
        switch (entry) {
        case Entry::play:
            f.engine->play(request());
            break;
        case Entry::rate:
            asker = std::thread([&] { f.engine->sampleRate(); });
            break;
        case Entry::prepared:
            f.engine->playPrepared(prepare, request());
            break;
        }
        f.device->awaitHungWaits(1);
        for (int key = 0; key < 5; ++key)
            f.engine->play(request());
        f.engine->playPrepared(prepare, request());
        f.engine->stop();
        if (asker.joinable())
            asker.join();
        EXPECT_EQ(f.device->hungWaits, 1) << int(entry);
        EXPECT_EQ(f.device->abandonedWaits, 1) << int(entry);
        EXPECT_LE(f.device->attempts, 1) << int(entry);
        EXPECT_FALSE(f.engine->outputError()) << "abandoning says nothing about the device " << int(entry);
        EXPECT_FALSE(f.device->abandoned) << int(entry);
        // Sounds are prepared at the default rate at once; nothing queued behind the wait is.
        EXPECT_EQ(prepared, entry == Entry::prepared ? 1 : 0) << int(entry);

        f.device->hangs = false;
        f.play(request());
        EXPECT_TRUE(f.engine->isRunning()) << int(entry);
        EXPECT_NEAR(f.renderLeft(1)[0], 0.1, AudioTestSounds::quantum) << int(entry);
    }
}

// The destructor stops the same way: an engine torn down mid-open returns.
TEST(AudioEngine, DestroyingTheEngineDuringAnOpenOnASilentServerReturns)
{
    EngineFixture f;
    f.device->hangs = true;
    f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 480)));
    f.engine->play(request());
    f.device->awaitHungWaits(1);
    f.engine.reset();
    EXPECT_EQ(f.device->abandonedWaits, 1);
    EXPECT_EQ(f.device->attempts, 1);
}

TEST(AudioEngine, WithoutAnOutputNothingPlays)
{
    ManualClock clock;
    AudioEngine engine(1, 2000ms, nullptr, clock);
    EXPECT_EQ(engine.sampleRate(), 48000);
    engine.play(request());
    engine.flush();
    EXPECT_FALSE(engine.isRunning());
}

#if defined(__SSE__)
#include <xmmintrin.h>

TEST(AudioMixer, LeavesTheCallingThreadsFloatingPointModeAsItWas)
{
    const unsigned before = _mm_getcsr();
    AudioMixer mixer(4);
    std::vector<float> buffer(256, 0.0f);
    mixer.render(buffer.data(), 128);
    EXPECT_EQ(_mm_getcsr(), before);
}
#endif

// An output that comes back at another rate than the sounds were prepared at is announced once,
// and the sounds still play at their own speed until they are prepared again.
TEST(AudioEngine, AnnouncesAnOutputThatReopenedAtAnotherRate)
{
    EngineFixture f;
    std::vector<int> announced;
    f.engine->onSampleRateChange([&announced](int rate) { announced.push_back(rate); });
    EXPECT_EQ(f.engine->sampleRate(), 48000);
    f.engine->setSounds(bankWith(KeyGroup::regular, KeyPhase::down, constant(0.1f, 480)));
    f.play(request());
    for (int reopen = 0; reopen < 2; ++reopen) {
        f.device->sampleRate = 44100;
        f.device->lost = true;
        f.play(request());
    }
    EXPECT_EQ(announced, std::vector<int>{44100});
    EXPECT_EQ(f.engine->sampleRate(), 44100);
    const std::vector<float> left = f.renderLeft(1024);
    EXPECT_EQ(std::ranges::count_if(left, [](float v) { return v != 0.0f; }), 441);
}

// The rate is never waited for: the first question is told the default at once, from any
// thread, while the output is asked on the engine's queue; its answer at another rate is
// announced once, so the sounds prepared at the default are prepared again.
TEST(AudioEngine, TellsARateAtOnceAndAnnouncesTheOutputsOwnWhenItAnswers)
{
    EngineFixture f;
    f.device->sampleRate = 44100;
    std::promise<void> answer;
    std::shared_future<void> answered = answer.get_future().share();
    f.device->beforeRate = [answered] { answered.wait_for(5s); };
    std::vector<int> announced;
    f.engine->onSampleRateChange([&announced](int rate) { announced.push_back(rate); });
    const int told = f.engine->sampleRate();
    EXPECT_NE(told, f.device->sampleRate) << "waited for the output's answer";
    EXPECT_EQ(f.engine->sampleRate(), told);
    answer.set_value();
    f.engine->flush();
    EXPECT_EQ(announced, std::vector<int>{f.device->sampleRate});
    EXPECT_EQ(f.engine->sampleRate(), f.device->sampleRate);
    EXPECT_EQ(f.device->rateQuestions, 1);
}

#include "Platform/Linux/PipeWireAudioOutput.h"

#include "fakes/FakePipeWireServer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace std::chrono_literals;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
constexpr std::int64_t second = 1'000'000'000;

// Counts frames on: left n, right -n for the n-th frame it renders, so what the graph took can
// be told apart from stale buffers, silence and a stretch rendered twice or skipped.
class CountingRenderer final : public AudioRenderer {
public:
    void render(float *interleaved, int frames) noexcept override
    {
        for (int i = 0; i < frames; ++i, ++next) {
            interleaved[2 * i] = float(next);
            interleaved[2 * i + 1] = -float(next);
        }
        calls.push_back(frames);
    }

    std::int64_t next = 1;
    std::vector<int> calls;
};

// What the counting renderer gives for frames `from` to `to`, inclusive.
std::vector<float> counted(std::int64_t from, std::int64_t to)
{
    std::vector<float> samples;
    for (std::int64_t n = from; n <= to; ++n) {
        samples.push_back(float(n));
        samples.push_back(-float(n));
    }
    return samples;
}

struct Road {
    FakePipeWireServer server;
    CountingRenderer renderer;
    std::unique_ptr<PipeWireAudioOutput> output = std::make_unique<PipeWireAudioOutput>(&server.library());

    // Whatever happened, the road leaves nothing of the library's behind and broke none of
    // its rules.
    ~Road()
    {
        output.reset();
        EXPECT_EQ(server.objectsAlive(), 0);
        EXPECT_THAT(server.misuses, IsEmpty());
    }

    OpenResult<AudioOutput::Format> open(int frames = 256) { return output->open(frames, renderer); }
    void cycles(int count, std::uint32_t frames = 256)
    {
        for (int i = 0; i < count; ++i)
            server.cycle(frames);
    }
    // The samples the graph took since `from` (in samples).
    std::vector<float> playedSince(std::size_t from) const
    {
        return {server.played.begin() + std::ptrdiff_t(from), server.played.end()};
    }
};
}

// The graph rounds a requested cycle down to a power of two: every margin step has to ask for
// one that survives the rounding, and the widest margin must not ask past the ceiling. Halfway
// between two, the margin is kept.
TEST(PipeWireAudioOutput, AsksTheGraphForTheNearestPowerOfTwoCycle)
{
    struct Case {
        std::chrono::microseconds margin;
        int rate;
        int expected;
    };
    for (const Case c : {Case{0us, 48000, 256}, Case{4000us, 48000, 512}, Case{8000us, 48000, 512},
                         Case{12000us, 48000, 1024}, Case{20000us, 48000, 1024}, Case{4000us, 44100, 512},
                         Case{4000us, 32000, 512}}) {
        EXPECT_EQ(PipeWireAudioOutput::nodeLatencyFrames(PipeWireAudioOutput::baseLatencyFrames, c.margin, c.rate),
                  c.expected)
            << c.margin.count() << " us at " << c.rate;
    }
}

// The stream runs at the graph's own rate, so nothing is resampled on the way; a graph that
// does not say plays at 48 kHz. A server started again at another rate, or with none said, is
// followed, and so is a graph whose rate is forced to another while the stream plays: the
// stream is given up, parked or not, and the next one made at the new rate.
TEST(PipeWireAudioOutput, PlaysAtTheGraphsRate)
{
    struct Case {
        int graphRate;
        int expected;
        int restartedRate;
        int restartedExpected;
    };
    for (const Case c : {Case{48000, 48000, 44100, 44100}, Case{44100, 44100, 96000, 96000},
                         Case{96000, 96000, 0, 48000}, Case{0, 48000, 44100, 44100}}) {
        SCOPED_TRACE(c.graphRate);
        Road road;
        road.server.clockRate = c.graphRate;
        EXPECT_EQ(road.output->preferredSampleRate().value_or(0), c.expected);
        const auto format = road.open(256);
        ASSERT_TRUE(format.has_value()) << format.error().message.toStdString();
        EXPECT_EQ(format->sampleRate, c.expected);
        EXPECT_EQ(format->bufferFrames, 256);
        EXPECT_EQ(int(road.server.streamFormat.rate), c.expected);
        EXPECT_EQ(road.server.streamFormat.channels, 2u);
        EXPECT_EQ(road.server.streamFormat.format, SPA_AUDIO_FORMAT_F32);
        EXPECT_EQ(road.server.streamFormat.position[0], SPA_AUDIO_CHANNEL_FL);
        EXPECT_EQ(road.server.streamFormat.position[1], SPA_AUDIO_CHANNEL_FR);
        EXPECT_THAT(road.server.nodeLatencies, ElementsAre("256/" + std::to_string(c.expected)));

        road.server.loseServer();
        road.server.running = true;
        road.server.clockRate = c.restartedRate;
        EXPECT_EQ(road.output->preferredSampleRate().value_or(0), c.restartedExpected);
        const auto again = road.open(256);
        ASSERT_TRUE(again.has_value());
        EXPECT_EQ(again->sampleRate, c.restartedExpected);
        EXPECT_EQ(int(road.server.streamFormat.rate), c.restartedExpected);

        road.output->resume();
        road.cycles(2);
        EXPECT_FALSE(road.output->isLost());
        road.server.forceRate(c.restartedExpected == 44100 ? 48000 : 44100);
        EXPECT_TRUE(road.output->isLost()) << "plays on at a rate the graph no longer runs";
        road.output->close();
        const auto forced = road.open(256);
        ASSERT_TRUE(forced.has_value());
        EXPECT_EQ(forced->sampleRate, road.server.clockRate);
        EXPECT_EQ(int(road.server.streamFormat.rate), road.server.clockRate);
        EXPECT_FALSE(road.output->isLost());
    }
}

// An open returns once the graph runs the stream, and fails with what went wrong otherwise:
// each reason as it happened, waiting no longer than the time allowed on the server's clock,
// with no stream left behind. The next open on a server that works plays.
TEST(PipeWireAudioOutput, OpensOnceStreamingOrSaysWhyNot)
{
    const std::int64_t allowed = std::chrono::nanoseconds(TimedOpen::allowed).count();
    struct Case {
        const char *name;
        std::function<void(Road &)> setUp;
        std::optional<OpenFailure> failure; // none: opens
        std::int64_t waited;
    };
    const Case cases[] = {
        {"links at once", [](Road &) {}, {}, 0},
        {"links after a while", [&](Road &r) { r.server.linkDelayNs = allowed * 3 / 4; }, {}, allowed * 3 / 4},
        {"answers after a while", [&](Road &r) { r.server.answerDelayNs = allowed * 3 / 4; }, {}, allowed * 3 / 4},
        {"answers and links within the time together",
         [&](Road &r) {
             r.server.answerDelayNs = allowed / 2;
             r.server.linkDelayNs = allowed / 4;
         },
         {}, allowed * 3 / 4},
        {"answers and links, too late together",
         [&](Road &r) {
             r.server.answerDelayNs = allowed / 2;
             r.server.linkDelayNs = allowed * 3 / 4;
         },
         OpenFailure::silent, allowed},
        {"link fails",
         [](Road &r) {
             r.server.linking = FakePipeWireServer::Linking::fails;
             r.server.linkDelayNs = 300'000'000;
         },
         OpenFailure::failed, 300'000'000},
        {"never links", [](Road &r) { r.server.linking = FakePipeWireServer::Linking::never; }, OpenFailure::silent,
         allowed},
        {"links too late", [&](Road &r) { r.server.linkDelayNs = allowed * 5 / 4; }, OpenFailure::silent, allowed},
        {"gone while linking",
         [](Road &r) {
             r.server.linkDelayNs = second;
             r.server.whileWaiting = [&r] { r.server.loseServer(); };
         },
         OpenFailure::gone, 0},
        {"never answers", [](Road &r) { r.server.answers = false; }, OpenFailure::silent, allowed},
        {"answers too late", [&](Road &r) { r.server.answerDelayNs = allowed * 5 / 4; }, OpenFailure::silent, allowed},
        {"gone while connecting",
         [](Road &r) {
             r.server.answers = false;
             r.server.whileWaiting = [&r] { r.server.loseServer(); };
         },
         OpenFailure::gone, 0},
        {"no client", [](Road &r) { r.server.loopStarts = false; }, OpenFailure::unavailable, 0},
        {"no server", [](Road &r) { r.server.running = false; }, OpenFailure::noServer, 0},
        {"refused",
         [](Road &r) {
             r.server.running = false;
             r.server.connectErrno = ECONNREFUSED;
         },
         OpenFailure::refused, 0},
        {"not allowed",
         [](Road &r) {
             r.server.running = false;
             r.server.connectErrno = EACCES;
         },
         OpenFailure::failed, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Road road;
        c.setUp(road);
        const std::int64_t start = road.server.nowNs();
        const auto format = road.open();
        EXPECT_EQ(road.server.nowNs() - start, c.waited);
        if (c.failure) {
            ASSERT_FALSE(format.has_value());
            EXPECT_EQ(format.error().failure, *c.failure) << format.error().message.toStdString();
            EXPECT_FALSE(road.server.hasStream());
            EXPECT_FALSE(road.output->isLost());
        } else {
            ASSERT_TRUE(format.has_value()) << format.error().message.toStdString();
        }

        road.server.loopStarts = true;
        road.server.running = true;
        road.server.answers = true;
        road.server.answerDelayNs = 0;
        road.server.linking = FakePipeWireServer::Linking::links;
        road.server.linkDelayNs = 0;
        const auto again = road.open();
        ASSERT_TRUE(again.has_value()) << again.error().message.toStdString();
        road.output->resume();
        road.cycles(2);
        EXPECT_EQ(road.server.played, counted(1, 512));

        // A later failure says its own reason.
        road.server.linking = FakePipeWireServer::Linking::never;
        const auto unlinked = road.open(512);
        ASSERT_FALSE(unlinked.has_value());
        EXPECT_EQ(unlinked.error().failure, OpenFailure::silent);
    }
}

// Quitting abandons the open in progress: it gives up at once, wherever it waits, and so does
// any open while abandoned; once no longer abandoned the next open plays.
TEST(PipeWireAudioOutput, AbandonedOpensGiveUpAtOnce)
{
    enum class Waiting { forTheServer, forTheLink };
    for (const Waiting waiting : {Waiting::forTheServer, Waiting::forTheLink}) {
        SCOPED_TRACE(int(waiting));
        Road road;
        if (waiting == Waiting::forTheServer)
            road.server.answers = false;
        else
            road.server.linking = FakePipeWireServer::Linking::never;
        road.server.whileWaiting = [&road] { road.output->abandonOpens(true); };
        std::int64_t start = road.server.nowNs();
        const auto abandoned = road.open();
        ASSERT_FALSE(abandoned.has_value());
        EXPECT_EQ(road.server.nowNs(), start) << "waited on after it was abandoned";
        EXPECT_EQ(abandoned.error().failure, OpenFailure::abandoned);

        // A server that would answer and link, but only after a while.
        road.server.answers = true;
        road.server.answerDelayNs = 500'000'000;
        road.server.linking = FakePipeWireServer::Linking::links;
        road.server.linkDelayNs = 500'000'000;
        start = road.server.nowNs();
        EXPECT_FALSE(road.open().has_value());
        EXPECT_EQ(road.server.nowNs(), start) << "an open while abandoned waited";
        EXPECT_FALSE(road.output->preferredSampleRate().has_value()) << "asked while abandoned";

        road.output->abandonOpens(false);
        ASSERT_TRUE(road.open().has_value());
        road.output->resume();
        road.cycles(1);
        EXPECT_EQ(road.server.played, counted(1, 256));
    }
}

// Until resumed the stream gives the graph silence, not whatever its buffers held before; then
// the renderer's sound, as many frames a cycle as the graph asks for (or the whole buffer when
// it does not say, never more than fits), each frame once and in order.
TEST(PipeWireAudioOutput, RendersTheFramesTheGraphAsksForOnceResumed)
{
    struct Case {
        bool requestsFrames;
        std::uint32_t maxsizeFrames;
        std::uint32_t cycleFrames;
        std::uint32_t expected;
    };
    for (const Case c : {Case{true, 8192, 256, 256}, Case{true, 8192, 1024, 1024}, Case{true, 8192, 1, 1},
                         Case{false, 1024, 256, 1024}, Case{true, 512, 1024, 512}}) {
        SCOPED_TRACE(c.cycleFrames);
        Road road;
        road.server.requestsFrames = c.requestsFrames;
        road.server.maxsizeFrames = c.maxsizeFrames;
        ASSERT_TRUE(road.open().has_value());
        road.cycles(3, c.cycleFrames);
        EXPECT_EQ(road.server.playedFrames, std::vector<std::uint32_t>(3, c.expected));
        EXPECT_THAT(road.server.played, Each(0.0f));
        EXPECT_THAT(road.renderer.calls, IsEmpty());

        road.output->resume();
        std::size_t from = road.server.played.size();
        road.cycles(4, c.cycleFrames);
        EXPECT_EQ(road.renderer.calls, std::vector<int>(4, int(c.expected)));
        EXPECT_EQ(road.playedSince(from), counted(1, 4 * c.expected));

        // Taken up again after a pause: silent until resumed, then on from where it was.
        road.output->close();
        ASSERT_TRUE(road.open().has_value());
        from = road.server.played.size();
        road.cycles(2, c.cycleFrames);
        EXPECT_THAT(road.playedSince(from), Each(0.0f));
        road.output->resume();
        from = road.server.played.size();
        road.cycles(2, c.cycleFrames);
        EXPECT_EQ(road.playedSince(from), counted(4 * c.expected + 1, 6 * c.expected));
        EXPECT_EQ(road.server.playedFrames.size(), 11u) << "a cycle the stream gave nothing for";
    }
}

// Closing parks the stream: it stays linked but leaves the graph's cycle, and the renderer is
// not called again. The next open of the same length takes it up again; one of another length
// makes a new stream in its place.
TEST(PipeWireAudioOutput, ParksTheStreamAndTakesItUpAgain)
{
    Road road;
    ASSERT_TRUE(road.open(256).has_value());
    road.output->resume();
    road.cycles(2);
    road.output->close();
    EXPECT_TRUE(road.server.hasStream());
    EXPECT_FALSE(road.server.streamActive());
    const int processCalls = road.server.processCalls;
    const std::size_t renders = road.renderer.calls.size();
    road.cycles(5);
    EXPECT_EQ(road.server.processCalls, processCalls);
    EXPECT_EQ(road.renderer.calls.size(), renders);
    road.output->close();

    struct Step {
        int frames;
        int streamsMade;
        int bufferFrames;
    };
    // Anything up to the shortest cycle asks for the shortest cycle.
    for (const Step step : {Step{256, 1, 256}, Step{128, 1, 256}, Step{512, 2, 512}, Step{512, 2, 512},
                            Step{256, 3, 256}}) {
        SCOPED_TRACE(step.frames);
        const auto format = road.open(step.frames);
        ASSERT_TRUE(format.has_value());
        EXPECT_EQ(format->sampleRate, 48000);
        EXPECT_EQ(format->bufferFrames, step.bufferFrames);
        EXPECT_EQ(road.server.streamsMade, step.streamsMade);
        EXPECT_TRUE(road.server.streamActive());
        EXPECT_EQ(road.server.nodeLatencies.back(), std::to_string(step.bufferFrames) + "/48000");
        road.output->resume();
        const std::int64_t next = road.renderer.next;
        const std::size_t from = road.server.played.size();
        road.cycles(1);
        EXPECT_EQ(road.playedSince(from), counted(next, next + 255));
        road.output->close();
        EXPECT_FALSE(road.server.streamActive());
    }
    // An open over an open stream parks it first.
    ASSERT_TRUE(road.open(256).has_value());
    ASSERT_TRUE(road.open(256).has_value());
    EXPECT_EQ(road.server.streamsMade, 3);
    EXPECT_TRUE(road.server.streamActive());
}

// A cycle the graph ran without this stream's sound is an underrun, counted once per late
// cycle and only while the stream plays. Each open starts from none, and the first cycle after
// a parked stream runs again is not late, however far the graph's clock went meanwhile.
TEST(PipeWireAudioOutput, CountsCyclesMissedWhilePlaying)
{
    Road road;
    ASSERT_TRUE(road.open(256).has_value());
    road.cycles(2);
    road.server.missCycles(3, 256);
    road.cycles(2);
    EXPECT_EQ(road.output->underruns(), 0) << "counted before it played";

    road.output->resume();
    road.cycles(3);
    EXPECT_EQ(road.output->underruns(), 0);
    road.server.missCycles(2, 256);
    road.cycles(3);
    EXPECT_EQ(road.output->underruns(), 1);
    road.server.missCycles(1, 256);
    road.cycles(1);
    EXPECT_EQ(road.output->underruns(), 2);
    // The graph's cycle changes length: the clock moved on by the last one's.
    road.cycles(1, 512);
    road.cycles(2, 256);
    EXPECT_EQ(road.output->underruns(), 2);

    // Taken up again, made anew at another length, taken up again.
    struct Reopen {
        int frames;
        int streamsMade;
    };
    for (const Reopen reopen : {Reopen{256, 1}, Reopen{512, 2}, Reopen{512, 2}}) {
        SCOPED_TRACE(reopen.frames);
        road.output->close();
        road.cycles(4);
        road.server.missCycles(10, 256);
        ASSERT_TRUE(road.open(reopen.frames).has_value());
        EXPECT_EQ(road.server.streamsMade, reopen.streamsMade);
        EXPECT_EQ(road.output->underruns(), 0);
        road.output->resume();
        road.cycles(2);
        EXPECT_EQ(road.output->underruns(), 0) << "the first cycle after starting again";
        road.server.missCycles(1, 256);
        road.cycles(1);
        EXPECT_EQ(road.output->underruns(), 1);
    }
}

// A margin given before there is a stream is kept for the stream made later; one given while a
// stream is there, playing or parked, changes the cycle it asks the graph for at once.
TEST(PipeWireAudioOutput, AsksForTheCycleOfTheMargin)
{
    enum class Before { nothing, rateAsked };
    for (const Before before : {Before::nothing, Before::rateAsked}) {
        SCOPED_TRACE(int(before));
        Road road;
        if (before == Before::rateAsked) {
            EXPECT_EQ(road.output->preferredSampleRate().value_or(0), 48000);
        }
        EXPECT_TRUE(road.output->setMargin(8ms));
        EXPECT_THAT(road.server.nodeLatencies, IsEmpty());
        ASSERT_TRUE(road.open(256).has_value());
        EXPECT_THAT(road.server.nodeLatencies, ElementsAre("512/48000"));

        EXPECT_TRUE(road.output->setMargin(12ms));
        EXPECT_TRUE(road.output->setMargin(0ms));
        road.output->close();
        EXPECT_TRUE(road.output->setMargin(4ms));
        ASSERT_TRUE(road.open(256).has_value());
        EXPECT_THAT(road.server.nodeLatencies, ElementsAre("512/48000", "1024/48000", "256/48000", "512/48000"));

        EXPECT_TRUE(road.output->setMargin(8ms));
        road.output->close();
        ASSERT_TRUE(road.open(512).has_value());
        EXPECT_EQ(road.server.nodeLatencies.back(), "1024/48000") << "the new stream's cycle";
    }
}

// When the server goes away, or the stream fails, the output says it is lost and the graph no
// longer calls it; the next open connects again and makes a new stream, whether the stream was
// playing or parked.
TEST(PipeWireAudioOutput, ConnectsAgainAfterLosingTheServer)
{
    enum class Loss { serverWhilePlaying, serverWhileParked, streamFails };
    Road road;
    EXPECT_FALSE(road.output->isLost());
    int connections = 0;
    for (const Loss loss : {Loss::serverWhilePlaying, Loss::serverWhileParked, Loss::streamFails}) {
        SCOPED_TRACE(int(loss));
        ASSERT_TRUE(road.open(256).has_value());
        ++connections;
        EXPECT_EQ(road.server.connections, connections);
        EXPECT_EQ(road.server.streamsMade, connections);
        EXPECT_FALSE(road.output->isLost());
        EXPECT_EQ(road.output->underruns(), 0);
        road.output->resume();
        road.cycles(2);
        road.server.missCycles(1, 256);
        road.cycles(1);
        EXPECT_EQ(road.output->underruns(), 1);
        if (loss == Loss::serverWhileParked)
            road.output->close();
        if (loss == Loss::streamFails)
            road.server.failStream("the sink was removed");
        else
            road.server.loseServer();
        EXPECT_TRUE(road.output->isLost());
        road.output->close();
        EXPECT_EQ(road.server.hasStream(), loss == Loss::serverWhileParked) << "a lost stream is dropped, not parked";
        const int processCalls = road.server.processCalls;
        road.cycles(2);
        EXPECT_EQ(road.server.processCalls, processCalls);
        road.server.running = true;
    }
    // A server started again that does not answer is waited for, as long as the first was.
    road.server.answers = false;
    const std::int64_t start = road.server.nowNs();
    const auto silent = road.open(256);
    ASSERT_FALSE(silent.has_value());
    EXPECT_EQ(silent.error().failure, OpenFailure::silent);
    EXPECT_EQ(road.server.nowNs() - start, std::chrono::nanoseconds(TimedOpen::allowed).count());

    road.server.answers = true;
    ASSERT_TRUE(road.open(256).has_value());
    EXPECT_EQ(road.server.connections, 5);
    road.output->resume();
    const std::int64_t next = road.renderer.next;
    const std::size_t from = road.server.played.size();
    road.cycles(1);
    EXPECT_EQ(road.playedSince(from), counted(next, next + 255));
}

// Destroying the output frees every object of the library, whatever state it was left in, and
// the graph calls nothing of it afterwards.
TEST(PipeWireAudioOutput, LeavesNothingBehind)
{
    enum class State { neverOpened, rateAsked, playing, parked, lost, failedToLink, abandoned };
    for (const State state : {State::neverOpened, State::rateAsked, State::playing, State::parked, State::lost,
                              State::failedToLink, State::abandoned}) {
        SCOPED_TRACE(int(state));
        Road road;
        switch (state) {
        case State::neverOpened:
            break;
        case State::rateAsked:
            road.output->preferredSampleRate();
            break;
        case State::playing:
        case State::parked:
        case State::lost:
            ASSERT_TRUE(road.open().has_value());
            road.output->resume();
            road.cycles(2);
            if (state == State::parked)
                road.output->close();
            if (state == State::lost)
                road.server.loseServer();
            break;
        case State::failedToLink:
            road.server.linking = FakePipeWireServer::Linking::never;
            EXPECT_FALSE(road.open().has_value());
            break;
        case State::abandoned:
            road.output->abandonOpens(true);
            EXPECT_FALSE(road.open().has_value());
            break;
        }
        const int processCalls = road.server.processCalls;
        road.output.reset();
        road.cycles(2);
        EXPECT_EQ(road.server.processCalls, processCalls);
    }
}

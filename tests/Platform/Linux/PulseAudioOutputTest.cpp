#include "Platform/Linux/PulseAudioOutput.h"

#include "Services/Audio/AudioMixer.h"
#include "Services/Audio/AudioTestSounds.h"
#include "fakes/FakePulseServer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <future>

#include <unistd.h>

using namespace std::chrono_literals;

namespace {
constexpr int rate = 48000;
constexpr std::int64_t frameBytes = 8;
constexpr std::int64_t leadFrames = PulseAudioOutput::leadLength.count() * rate / 1'000'000;

struct Key {
    std::int64_t frame; // on the output's timeline
    SoundBank::Sample sample;
};

// A key's long ringing tail, so the next key always comes while it is still queued.
SoundBank::Sample press(double hertz)
{
    return AudioTestSounds::sine(0.4f, hertz, rate * 15 / 100);
}

// The same keys rendered in one go, without any stream: what the sink should have read.
std::vector<float> offline(const std::vector<Key> &keys, std::int64_t frames)
{
    AudioMixer mixer(8);
    mixer.prepare(rate);
    std::vector<float> out(std::size_t(2 * frames), 0.0f);
    std::int64_t at = 0;
    int voice = 0;
    for (const Key &key : keys) {
        if (key.frame > at)
            mixer.render(out.data() + 2 * at, int(key.frame - at));
        at = std::max(at, key.frame);
        mixer.post({key.sample, voice++, 1.0f, 1.0f, 1.0});
    }
    mixer.render(out.data() + 2 * at, int(frames - at));
    return out;
}

struct Road {
    FakePulseServer server;
    AudioMixer mixer{8};
    PulseAudioOutput output{&server.library()};
    int voice = 0;
    SoundBank::Sample first;
    // The stream's byte index of the timeline's first frame, for the open in progress.
    std::int64_t origin = 0;

    void open()
    {
        const pa_usec_t before = server.library().rtclockNow();
        const auto format = output.open(128, mixer);
        ASSERT_TRUE(format.has_value());
        EXPECT_EQ(server.library().rtclockNow(), before) << "waited out the time-out for an answer that had come";
        ASSERT_EQ(format->sampleRate, rate);
        mixer.prepare(format->sampleRate);
        // Nothing is written before the first sound, which starts the stream.
        EXPECT_EQ(server.queuedBytes(), 0);
        origin = server.writeIndex();
    }
    // Opens and starts the stream with a first key, which plays on for `length`.
    void openPlaying(std::chrono::milliseconds length)
    {
        open();
        first = press(440);
        post(first);
        output.resume();
        play(length);
    }
    // Voices taken in turn, as the engine takes them.
    void post(const SoundBank::Sample &sample)
    {
        ASSERT_TRUE(mixer.post({sample, voice, 1.0f, 1.0f, 1.0}));
        voice = (voice + 1) % mixer.voiceCount();
    }
    // Time passing with the library's timing updates every millisecond.
    void play(std::chrono::milliseconds length, bool timingUpdates = true)
    {
        for (auto ms = 0ms; ms < length; ++ms) {
            server.advance(1000);
            if (timingUpdates)
                server.publishTiming();
        }
    }
    // Where on this open's timeline the sink reads, the queue ends, and the last stretch
    // written over the queue began.
    std::int64_t readFrame() const { return (server.readIndex() - origin) / frameBytes; }
    std::int64_t writeFrame() const { return (server.writeIndex() - origin) / frameBytes; }
    std::int64_t overwriteFrame() const { return (server.overwriteStart - origin) / frameBytes; }

    // Samples the sink read for this open that differ from the offline render.
    int mismatches(const std::vector<Key> &keys) const
    {
        const std::int64_t first = origin / frameBytes;
        const std::vector<float> expected = offline(keys, server.readIndex() / frameBytes - first);
        int count = 0;
        for (std::size_t i = 0; i < expected.size(); ++i)
            count += server.readSamples[std::size_t(2 * first) + i] != expected[i];
        return count;
    }

    // Every frame of this open the sink read matches the offline render, and none was lost.
    void expectHeard(const std::vector<Key> &keys)
    {
        const std::int64_t first = origin / frameBytes;
        const std::int64_t frames = server.readIndex() / frameBytes - first;
        const std::vector<float> expected = offline(keys, frames);
        int mismatches = 0;
        for (std::int64_t i = 0; i < frames; ++i) {
            ASSERT_TRUE(server.readFrames[std::size_t(first + i)]) << "frame " << i;
            for (int channel = 0; channel < 2; ++channel) {
                const float heard = server.readSamples[std::size_t(2 * (first + i) + channel)];
                if (heard != expected[std::size_t(2 * i + channel)] && ++mismatches <= 3)
                    ADD_FAILURE() << "frame " << i << " channel " << channel << ": " << heard << " instead of "
                                  << expected[std::size_t(2 * i + channel)];
            }
        }
        EXPECT_EQ(mismatches, 0);
        EXPECT_EQ(server.lateFrames, 0) << "written where the sink had already read";
    }
};
}

// A key that comes while the last one's tail is queued starts just ahead of where the sink
// reads, and the tail goes on under it: the stream read matches a render of the same keys in
// one go, to the bit, whether the read position was just reported or must be worked out from
// an older report, after the queue grew, and after the stream ran dry and started again.
TEST(PulseAudioOutput, MixesAKeyIntoTheQueuedTailJustAheadOfTheSink)
{
    enum class Before { nothing, staleTiming, widerMargin, underrun, underrunUnreported };
    for (const Before before : {Before::nothing, Before::staleTiming, Before::widerMargin, Before::underrun,
                                Before::underrunUnreported}) {
        SCOPED_TRACE(int(before));
        Road road;
        road.openPlaying(40ms);
        const auto &first = road.first;
        switch (before) {
        case Before::nothing:
            break;
        case Before::staleTiming:
            road.play(7ms, false);
            break;
        case Before::widerMargin:
            EXPECT_TRUE(road.output.setMargin(8ms));
            road.play(30ms);
            EXPECT_GE(road.server.queuedBytes(), (24 + 8 - 2) * rate / 1000 * frameBytes);
            break;
        case Before::underrun:
        case Before::underrunUnreported:
            // Only the reports from while it was dry, when it played nothing, the last of them
            // well before it was filled again, if any.
            road.server.clientStalled = true;
            road.play(40ms);
            road.play(20ms, false);
            road.server.clientStalled = false;
            road.server.answersTimingRequests = before == Before::underrun;
            road.play(40ms, before == Before::underrun);
            break;
        }
        const bool ranDry = before == Before::underrun || before == Before::underrunUnreported;
        EXPECT_EQ(road.output.underruns(), ranDry ? 1 : 0);
        ASSERT_GT(road.server.queuedBytes(), 10 * rate / 1000 * frameBytes) << "a deep queue";
        const std::int64_t start = road.readFrame() + leadFrames;
        const auto second = press(660);
        road.post(second);
        const std::int64_t overwritten = road.server.overwriteStart;
        road.output.soundPosted();
        EXPECT_EQ(road.server.overwriteStart, overwritten) << "rendered by the poster, not by the loop";
        road.play(60ms);
        // A third key within the second's queue, with no timing update since the second.
        const std::int64_t third = road.readFrame() + leadFrames;
        road.post(press(880));
        road.output.soundPosted();
        road.play(200ms);
        road.expectHeard({{0, first}, {start, second}, {third, press(880)}});
        EXPECT_EQ(road.output.postedOverSound(), 2) << "both keys came over a sounding tail";
        // A key after the tails have ended, on the same stream, lands on silence.
        road.play(300ms);
        road.post(press(990));
        road.output.soundPosted();
        road.play(10ms);
        EXPECT_EQ(road.output.postedOverSound(), 2);
    }
}

// A key posted as the loop is about to answer the server's request for more, or while it
// answers it, still starts just ahead of the sink, not after the queue, and the mix its post
// asks for has nothing left to do. One posted while another key is being mixed in starts with
// that key, not where the piece of the queue being written began.
TEST(PulseAudioOutput, MixesAKeyPostedAroundARequestAheadOfTheSink)
{
    enum class Posted { beforeARequest, whileAnsweringIt, duringAMix };
    for (const Posted posted : {Posted::beforeARequest, Posted::whileAnsweringIt, Posted::duringAMix}) {
        SCOPED_TRACE(int(posted));
        Road road;
        road.openPlaying(40ms);
        const auto &first = road.first;
        const std::int64_t overwritten = road.server.overwriteStart;
        const std::int64_t readBefore = road.readFrame();
        const auto second = press(660);
        const auto third = press(880);
        // Posts on the writer's `piece`th piece from now: the loop's thread was about to write.
        const auto postOnPiece = [&](int piece, const SoundBank::Sample &sample) {
            road.server.whileWriting = [&road, &sample, piece, pieces = 0]() mutable {
                if (++pieces == piece)
                    road.post(sample);
            };
        };
        if (posted == Posted::beforeARequest) {
            road.post(second);
            road.play(3ms);
        } else if (posted == Posted::whileAnsweringIt) {
            postOnPiece(1, second);
            road.play(3ms);
        } else {
            postOnPiece(2, third);
            road.post(second);
            road.output.soundPosted();
            road.server.runLoop();
        }
        road.server.whileWriting = nullptr;
        ASSERT_NE(road.server.overwriteStart, overwritten) << "started after the queue";
        const std::int64_t start = road.overwriteFrame();
        EXPECT_GE(start, readBefore + leadFrames);
        EXPECT_LE(start, road.readFrame() + leadFrames);
        road.output.soundPosted();
        road.play(1ms);
        if (posted != Posted::duringAMix) {
            EXPECT_EQ(road.overwriteFrame(), start) << "mixed twice";
        }
        road.play(200ms);
        if (posted == Posted::duringAMix)
            road.expectHeard({{0, first}, {start, second}, {start, third}});
        else
            road.expectHeard({{0, first}, {start, second}});
    }
}

// A key posted when less than the lead is left queued (the loop was held up, and the stream is
// about to run dry) starts right after what is queued, at once, and the stream plays on.
TEST(PulseAudioOutput, StartsAKeyRightAfterAQueueShorterThanTheLead)
{
    Road road;
    road.openPlaying(50ms);
    const auto &first = road.first;
    road.server.clientStalled = true;
    while (road.server.queuedBytes() > leadFrames * frameBytes) {
        road.server.advance(100);
        road.server.publishTiming();
    }
    ASSERT_GT(road.server.queuedBytes(), 0);
    const std::int64_t end = road.writeFrame();
    const auto second = press(660);
    road.post(second);
    road.output.soundPosted();
    road.server.runLoop();
    // The server's next request comes a little later still.
    road.server.advance(500);
    road.server.publishTiming();
    road.server.clientStalled = false;
    road.play(200ms);
    EXPECT_EQ(road.output.underruns(), 0);
    road.expectHeard({{0, first}, {end, second}});
}

// The sink starts a filled stream at its next period, so a report taken after the start can
// say it is not playing yet. A key a second later, with no report since, still starts just
// ahead of the sink, late by no more than the time from that report to the sink's start, and
// nothing is written where the sink has already read.
TEST(PulseAudioOutput, PlacesAKeyByAReportFromBeforeTheSinkStarted)
{
    constexpr std::int64_t lagUs = 5000;
    for (const auto reportedAfter : {1ms, 4ms}) {
        SCOPED_TRACE(reportedAfter.count());
        Road road;
        road.server.startLagUs = lagUs;
        road.server.answersTimingRequests = false;
        road.open();
        const auto first = press(440);
        road.post(first);
        road.output.resume();
        road.play(reportedAfter, false);
        road.server.publishTiming();
        road.play(1000ms, false);
        const std::int64_t earliest = road.readFrame() + leadFrames;
        const std::int64_t latest = earliest + (lagUs - reportedAfter.count() * 1000) * rate / 1'000'000;
        const auto second = press(660);
        road.post(second);
        road.output.soundPosted();
        road.play(200ms);

        std::int64_t start = earliest;
        while (start <= latest && road.mismatches({{0, first}, {start, second}}) != 0)
            ++start;
        EXPECT_LE(start, latest) << "the second key is not heard where it may start";
        road.expectHeard({{0, first}, {start, second}});
    }
}

// A sink that takes its sound a period at a time reads up to a period past where a report
// taken just before that period would put it. Once a few reports have shown how far, a key is
// written ahead of it, and by no more than that reach and the lead.
TEST(PulseAudioOutput, LeadsASinkThatReadsAPeriodAhead)
{
    constexpr std::int64_t periodUs = 4000;
    constexpr std::int64_t periodBytes = periodUs * rate / 1'000'000 * frameBytes;
    Road road;
    road.server.sinkPeriodUs = periodUs;
    road.openPlaying(40ms);
    std::int64_t lateAfterLearning = 0;
    for (int key = 0; key < 24; ++key) {
        // A key every 81 ms, so keys fall at every phase of the sink's period.
        road.play(81ms, false);
        if (key == 4)
            lateAfterLearning = road.server.lateFrames;
        road.server.advance(113);
        const std::int64_t read = road.server.readIndex();
        road.post(press(300 + 20 * key));
        road.output.soundPosted();
        road.server.runLoop();
        if (key > 4) {
            EXPECT_LE(road.server.overwriteStart - read, periodBytes + leadFrames * frameBytes + frameBytes)
                << "key " << key;
        }
    }
    road.play(200ms);
    EXPECT_EQ(road.server.lateFrames, lateAfterLearning) << "keys written where the sink had already read";
}

// A sink whose clock runs at its own pace drifts away from where an old report puts it. Each
// key is placed by a report at most one key old, so it starts the lead ahead of the sink
// however long the typing goes on, and the sink's reach is measured from the report just
// before, not from the first.
TEST(PulseAudioOutput, PlacesEveryKeyByAFreshReportOnASinkWhoseClockDrifts)
{
    Road road;
    road.server.sinkClockPpm = 1000;
    road.open();
    road.post(press(440));
    road.output.resume();
    road.play(40ms, false);
    // How far the sink drifts between two keys, and a frame for rounding.
    constexpr double drift = 0.150 * rate * 1000 / 1e6 + 1;
    for (int key = 0; key < 20; ++key) {
        road.play(150ms, false);
        const std::int64_t read = road.server.readIndex();
        road.post(press(300 + 20 * key));
        road.output.soundPosted();
        road.server.runLoop();
        EXPECT_NEAR(double(road.server.overwriteStart - read) / frameBytes, double(leadFrames), 2 * drift)
            << "key " << key;
    }
    road.play(200ms, false);
    EXPECT_EQ(road.server.lateFrames, 0);
}

// Closing parks the stream corked and empty, and the next open plays through it again: the
// new sound from the first frame written, and a key after it mixed in as on a new stream. As
// long as the client has heard nothing of the positions since the stream was emptied, the
// key follows the queue. What sounded in the last session does not count as sound under a
// key of the next.
TEST(PulseAudioOutput, ParksTheStreamAndTakesItUpAgainOnANewTimeline)
{
    enum class Report { afterStart, none };
    for (const Report report : {Report::afterStart, Report::none}) {
        SCOPED_TRACE(int(report));
        Road road;
        road.open();
        road.post(AudioTestSounds::sine(0.4f, 440, rate));
        road.output.resume();
        road.play(300ms);
        road.output.close();
        EXPECT_TRUE(road.server.corked());
        EXPECT_EQ(road.server.queuedBytes(), 0);
        road.play(1000ms, false);

        road.server.answersTimingRequests = report == Report::afterStart;
        road.mixer.reset();
        road.open();
        EXPECT_EQ(road.server.streamsMade, 1) << "taken up again, not made anew";
        const auto first = press(520);
        road.post(first);
        road.output.resume();
        EXPECT_FALSE(road.server.corked());
        road.play(30ms, false);
        const std::int64_t start = report == Report::none ? road.writeFrame() : road.readFrame() + leadFrames;
        const auto second = press(700);
        road.post(second);
        road.output.soundPosted();
        road.play(200ms, false);
        // Without positions the key follows the queue, over sound or not.
        const int over = report == Report::afterStart ? 1 : 0;
        EXPECT_EQ(road.output.postedOverSound(), over);
        // Past both tails, and still before where the last session's sound ended.
        const std::int64_t third = report == Report::none ? road.writeFrame() : road.readFrame() + leadFrames;
        road.post(press(800));
        road.output.soundPosted();
        road.play(200ms, report == Report::afterStart);
        EXPECT_EQ(road.output.postedOverSound(), over) << "a key on silence";
        road.expectHeard({{0, first}, {start, second}, {third, press(800)}});
    }
}

// The server asks for what is missing whenever the sink has read a request's worth; running
// dry is counted once per time, not once per request it missed, and a new open starts again.
// A key posted while the stream was dry starts with the first frame written when it is filled
// again, with nothing queued before it.
TEST(PulseAudioOutput, CountsEachTimeTheStreamRanDryAndStartsAKeyWhereItIsFilledAgain)
{
    Road road;
    road.openPlaying(50ms);
    const auto &first = road.first;
    EXPECT_EQ(road.output.underruns(), 0);
    std::int64_t refilled = 0;
    const auto second = press(660);
    for (int time = 1; time <= 2; ++time) {
        road.server.clientStalled = true;
        road.play(100ms);
        if (time == 2) {
            refilled = road.writeFrame();
            road.post(second);
        }
        // The server's request comes first.
        road.server.clientStalled = false;
        road.play(1ms);
        road.output.soundPosted();
        road.play(99ms);
        EXPECT_EQ(road.output.underruns(), time);
    }
    road.expectHeard({{0, first}, {refilled, second}});
    road.output.close();
    road.mixer.reset();
    road.open();
    EXPECT_EQ(road.output.underruns(), 0);
}

// The stream plays at the default sink's rate, not at the server's, and one at a rate the
// sink left is given up as lost, dropped rather than parked, and made anew at the new rate.
TEST(PulseAudioOutput, PlaysAtTheSinksRateAndFollowsItsChanges)
{
    Road road;
    EXPECT_EQ(road.output.preferredSampleRate().value_or(0), rate);
    road.open();
    EXPECT_EQ(road.server.streamRate(), rate);
    road.server.changeSinkRate(rate);
    EXPECT_FALSE(road.output.isLost()) << "an event that left the rate alone";
    road.server.changeSinkRate(44100);
    EXPECT_TRUE(road.output.isLost());
    EXPECT_EQ(road.output.preferredSampleRate().value_or(0), 44100);
    road.output.close();
    EXPECT_FALSE(road.server.hasStream());
    const auto format = road.output.open(128, road.mixer);
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(format->sampleRate, 44100);
    EXPECT_EQ(road.server.streamRate(), 44100);
    EXPECT_EQ(road.server.streamsMade, 2);
    EXPECT_EQ(road.server.contextsMade, 1) << "on the same connection";
    EXPECT_FALSE(road.output.isLost());
    EXPECT_EQ(road.server.deferEvents, 1);
}

// A parked stream still holds the server's device at its latency, so it gives way once another
// program plays, whether that one already played when the stream was parked or starts after;
// a corked stream of another program, or another stream of this process, does not count. A
// stream that gave way is made anew by the next open, and plays.
TEST(PulseAudioOutput, AParkedStreamGivesWayToAnotherProgramPlaying)
{
    enum class Other { startsPlaying, alreadyPlaying, corked, thisProcess };
    const long otherProgram = long(getpid()) + 1;
    for (const Other other : {Other::startsPlaying, Other::alreadyPlaying, Other::corked, Other::thisProcess}) {
        SCOPED_TRACE(int(other));
        Road road;
        road.openPlaying(50ms);
        if (other == Other::alreadyPlaying) {
            road.server.addOtherStream(otherProgram, false);
            EXPECT_TRUE(road.server.hasStream()) << "a stream in use is kept";
        }
        road.output.close();
        road.server.runLoop();
        switch (other) {
        case Other::startsPlaying:
            road.server.addOtherStream(otherProgram, false);
            break;
        case Other::corked:
            road.server.addOtherStream(otherProgram, true);
            break;
        case Other::thisProcess:
            road.server.addOtherStream(long(getpid()), false);
            break;
        case Other::alreadyPlaying:
            break;
        }
        const bool givesWay = other == Other::startsPlaying || other == Other::alreadyPlaying;
        EXPECT_EQ(road.server.hasStream(), !givesWay);
        road.mixer.reset();
        road.open();
        EXPECT_EQ(road.server.streamsMade, givesWay ? 2 : 1);
        const auto key = press(520);
        road.post(key);
        road.output.resume();
        road.play(50ms);
        road.expectHeard({{0, key}});
    }
}

// A key counts as mixed over sound where the last tail still sounds under its start, by as
// little as a frame, and not where the tail ended just before it.
TEST(PulseAudioOutput, CountsAKeyOverSoundOnlyWhereATailStillSoundsUnderIt)
{
    for (const auto after : {100ms, 101ms}) {
        for (const int overlap : {1, 0}) {
            SCOPED_TRACE(testing::Message() << after.count() << " ms, overlap " << overlap);
            Road road;
            road.open();
            const std::int64_t start = after.count() * rate / 1000 + leadFrames;
            const auto tail = AudioTestSounds::constant(0.25f, start + overlap);
            road.post(tail);
            road.output.resume();
            road.play(after);
            ASSERT_EQ(road.readFrame() + leadFrames, start);
            const auto key = press(660);
            road.post(key);
            road.output.soundPosted();
            road.play(200ms);
            EXPECT_EQ(road.output.postedOverSound(), overlap);
            road.expectHeard({{0, tail}, {start, key}});
        }
    }
}

namespace {
// Sets where the client looks for a server, and puts back what was there.
class ServerEnvironment {
public:
    ServerEnvironment(const QByteArray &runtime, const QByteArray &server)
        : m_runtime(qgetenv("XDG_RUNTIME_DIR"))
        , m_server(qgetenv("PULSE_SERVER"))
    {
        set("XDG_RUNTIME_DIR", runtime);
        set("PULSE_SERVER", server);
    }
    ~ServerEnvironment()
    {
        set("XDG_RUNTIME_DIR", m_runtime);
        set("PULSE_SERVER", m_server);
    }
    ServerEnvironment(const ServerEnvironment &) = delete;
    ServerEnvironment &operator=(const ServerEnvironment &) = delete;

private:
    static void set(const char *name, const QByteArray &value)
    {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

    QByteArray m_runtime;
    QByteArray m_server;
};
}

// Why an open failed, as the log tells it: a server that took the connection and never
// answered, one that refused it (a socket is there, or a server is named), none at all, or
// another failure in the server's own words.
TEST(PulseAudioOutput, SaysWhyItCouldNotReachAServer)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray withSocket = QFile::encodeName(folder.filePath(QStringLiteral("with")));
    const QByteArray withoutSocket = QFile::encodeName(folder.filePath(QStringLiteral("without")));
    ASSERT_TRUE(QDir().mkpath(QFile::decodeName(withSocket + "/pulse")));
    ASSERT_TRUE(QDir().mkpath(QFile::decodeName(withoutSocket)));
    QFile socket(QFile::decodeName(withSocket + "/pulse/native"));
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();
    const struct {
        const char *name;
        bool answers;
        int error;
        QByteArray runtime;
        QByteArray server;
        OpenFailure expected;
        bool answersQuestions = true;
    } cases[] = {
        {"silent", false, 0, withSocket, {}, OpenFailure::silent},
        {"connects, then silent", true, 0, withSocket, {}, OpenFailure::silent, false},
        {"refused at its socket", true, PA_ERR_CONNECTIONREFUSED, withSocket, {}, OpenFailure::refused},
        {"refused by a named server", true, PA_ERR_CONNECTIONREFUSED, withoutSocket, "tcp:localhost",
         OpenFailure::refused},
        {"no socket", true, PA_ERR_CONNECTIONREFUSED, withoutSocket, {}, OpenFailure::noServer},
        {"no runtime folder", true, PA_ERR_CONNECTIONREFUSED, {}, {}, OpenFailure::noServer},
        {"denied", true, PA_ERR_ACCESS, withSocket, {}, OpenFailure::failed},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ServerEnvironment environment(c.runtime, c.server);
        FakePulseServer server;
        server.answers = c.answers;
        server.connectError = c.error;
        server.answersQuestions = c.answersQuestions;
        PulseAudioOutput output(&server.library());
        AudioMixer mixer(2);
        const auto opened = output.open(128, mixer);
        ASSERT_FALSE(opened.has_value());
        EXPECT_EQ(opened.error().failure, c.expected) << opened.error().message.toStdString();
        const auto rate = output.preferredSampleRate();
        ASSERT_FALSE(rate.has_value());
        EXPECT_EQ(rate.error().failure, c.expected);
    }
}

// A margin given while the stream plays deepens its queue at once; one given while parked is
// applied once the stream is filled again. A server that never answers fails the open instead
// of holding it, and a lost stream is replaced by the next open.
TEST(PulseAudioOutput, AppliesMarginsAndReopensWhatWasLost)
{
    {
        FakePulseServer silent;
        silent.answers = false;
        PulseAudioOutput output(&silent.library());
        AudioMixer mixer(2);
        EXPECT_FALSE(output.open(128, mixer).has_value());
        EXPECT_EQ(output.preferredSampleRate().value_or(0), 0);
    }
    const auto bytes = [](std::chrono::microseconds length) {
        return std::uint32_t(length.count() * rate / 1'000'000 * frameBytes);
    };
    Road road;
    road.open();
    road.post(press(440));
    road.output.resume();
    EXPECT_EQ(road.server.bufferAttr().tlength, bytes(PulseAudioOutput::targetLength));
    road.output.setMargin(4ms);
    EXPECT_EQ(road.server.bufferAttr().tlength, bytes(PulseAudioOutput::targetLength + 4ms));
    road.output.close();
    road.output.setMargin(12ms);
    EXPECT_EQ(road.server.bufferAttr().tlength, bytes(PulseAudioOutput::targetLength + 4ms)) << "not while parked";
    road.mixer.reset();
    road.open();
    road.post(press(440));
    road.output.resume();
    EXPECT_EQ(road.server.bufferAttr().tlength, bytes(PulseAudioOutput::targetLength + 12ms));

    road.server.failStream();
    EXPECT_TRUE(road.output.isLost());
    road.mixer.reset();
    road.open();
    EXPECT_EQ(road.server.streamsMade, 2);
    EXPECT_FALSE(road.output.isLost());
}

// Once closed, the loop's thread leaves the renderer alone, which its owner may then destroy:
// neither a mix a key asked for just before nor a request of the server's after reaches it.
TEST(PulseAudioOutput, LeavesTheRendererAloneOnceClosed)
{
    struct Watched final : AudioRenderer {
        void render(float *interleaved, int frames) noexcept override
        {
            touchedAfterClose += closed;
            mixer.render(interleaved, frames);
        }
        bool renderFrom(std::int64_t from, float *interleaved, int frames, bool startWaiting) noexcept override
        {
            touchedAfterClose += closed;
            return mixer.renderFrom(from, interleaved, frames, startWaiting);
        }
        bool soundsWaiting() const noexcept override
        {
            touchedAfterClose += closed;
            return mixer.soundsWaiting();
        }
        AudioMixer mixer{8};
        bool closed = false;
        mutable int touchedAfterClose = 0;
    };
    FakePulseServer server;
    PulseAudioOutput output(&server.library());
    Watched renderer;
    ASSERT_TRUE(output.open(128, renderer).has_value());
    renderer.mixer.prepare(rate);
    renderer.mixer.post({press(440), 0, 1.0f, 1.0f, 1.0});
    output.resume();
    server.advance(20'000);
    renderer.mixer.post({press(660), 1, 1.0f, 1.0f, 1.0});
    output.soundPosted();
    output.close();
    renderer.closed = true;
    server.advance(100'000);
    EXPECT_EQ(renderer.touchedAfterClose, 0);
}

// An open waiting on a server that took the connection and never answers ends at once when
// it is abandoned from another thread, and one begun while abandoned fails without waiting.
// Taken back, the next open waits for its answers again and opens.
TEST(PulseAudioOutput, AnOpenWaitingOnASilentServerEndsWhenAbandoned)
{
    FakePulseServer server;
    server.answers = false;
    server.holdsWaits = true;
    AudioMixer mixer(2);
    PulseAudioOutput output(&server.library());
    // The open's outcome once it returned; one still waiting is let go by its time-out.
    const auto openElsewhere = [&] {
        auto opening = std::async(std::launch::async, [&] { return output.open(128, mixer); });
        if (opening.wait_for(10s) != std::future_status::ready) {
            ADD_FAILURE() << "the open still waits";
            server.advance(3'000'000);
        }
        return opening.get();
    };

    auto opening = std::async(std::launch::async, openElsewhere);
    ASSERT_TRUE(server.awaitHeldWaits(1));
    output.abandonOpens(true);
    const auto abandoned = opening.get();
    ASSERT_FALSE(abandoned.has_value());
    EXPECT_EQ(abandoned.error().failure, OpenFailure::abandoned);

    const auto refused = openElsewhere();
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().failure, OpenFailure::abandoned);
    EXPECT_EQ(server.heldWaits(), 1) << "no wait while abandoned";

    output.abandonOpens(false);
    server.answers = true;
    const auto opened = openElsewhere();
    ASSERT_TRUE(opened.has_value()) << opened.error().message.toStdString();
    EXPECT_EQ(opened->sampleRate, rate);
}

// Abandoning wakes a wait that may be under way, under the loop's lock; taking the opens up
// again later, and opening, parking and closing, leave the lock as they found it.
TEST(PulseAudioOutput, EveryTurnOfTheLoopsLockIsTakenAndGivenBack)
{
    FakePulseServer server;
    {
        PulseAudioOutput output(&server.library());
        AudioMixer mixer(8);
        ASSERT_TRUE(output.open(128, mixer).has_value());
        output.resume();
        output.close();
        // The parked stream is lost, so the next open must wait for the server.
        server.failStream();
        output.abandonOpens(true);
        EXPECT_FALSE(output.open(128, mixer).has_value()) << "the server is not waited for while abandoned";
        output.abandonOpens(false);
        ASSERT_TRUE(output.open(128, mixer).has_value());
        output.close();
        EXPECT_EQ(server.loopLocksHeld(), 0);
    }
    EXPECT_EQ(server.loopMisuses(), 0);
    EXPECT_EQ(server.loopLocksHeld(), 0);
}

#include "Platform/Linux/PulseAudioOutput.h"

#include "Services/Audio/AudioMixer.h"
#include "Services/Audio/AudioTestSounds.h"
#include "fakes/FakePulseServer.h"

#include <gtest/gtest.h>

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
    // The stream's byte index of the timeline's first frame, for the open in progress.
    std::int64_t origin = 0;

    void open()
    {
        const auto format = output.open(128, mixer);
        ASSERT_TRUE(format.has_value());
        ASSERT_EQ(format->sampleRate, rate);
        mixer.prepare(format->sampleRate);
        // Nothing is written before the first sound, which starts the stream.
        EXPECT_EQ(server.queuedBytes(), 0);
        origin = server.writeIndex();
    }
    void post(const SoundBank::Sample &sample) { mixer.post({sample, voice++, 1.0f, 1.0f, 1.0}); }
    // Time passing with the library's timing updates every millisecond.
    void play(std::chrono::milliseconds length, bool timingUpdates = true)
    {
        for (auto ms = 0ms; ms < length; ++ms) {
            server.advance(1000);
            if (timingUpdates)
                server.publishTiming();
        }
    }
    std::int64_t readFrame() const { return (server.readIndex() - origin) / frameBytes; }

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
        road.open();
        const auto first = press(440);
        road.post(first);
        road.output.resume();
        road.play(40ms);
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
            // Only the report from while it was dry, when it played nothing, if any.
            road.server.clientStalled = true;
            road.play(40ms);
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

// The server's request for more can reach the loop between a key's post and the loop's turn to
// mix it: the key still starts just ahead of the sink, not after the queue, and the mix that
// follows has nothing left to do.
TEST(PulseAudioOutput, MixesAKeyPostedJustBeforeARequestAheadOfTheSink)
{
    Road road;
    road.open();
    const auto first = press(440);
    road.post(first);
    road.output.resume();
    road.play(40ms);
    const std::int64_t overwritten = road.server.overwriteStart;
    const std::int64_t readBefore = road.readFrame();
    const auto second = press(660);
    road.post(second);
    road.play(3ms);
    ASSERT_NE(road.server.overwriteStart, overwritten) << "started after the queue";
    const std::int64_t start = (road.server.overwriteStart - road.origin) / frameBytes;
    EXPECT_GE(start, readBefore + leadFrames);
    EXPECT_LE(start, road.readFrame() + leadFrames);
    road.output.soundPosted();
    road.play(1ms);
    EXPECT_EQ((road.server.overwriteStart - road.origin) / frameBytes, start) << "mixed twice";
    road.play(200ms);
    road.expectHeard({{0, first}, {start, second}});
}

// The sink starts a filled stream at its next period, so the report the output asks for at the
// start can say it is not playing yet. A key a second later, with no report since, still starts
// just ahead of the sink (late by at most that wait), and nothing is written where the sink
// has already read.
TEST(PulseAudioOutput, PlacesAKeyByAReportFromBeforeTheSinkStarted)
{
    constexpr std::int64_t lagUs = 5000;
    Road road;
    road.server.startLagUs = lagUs;
    road.server.answersTimingRequests = false;
    road.open();
    const auto first = press(440);
    road.post(first);
    road.output.resume();
    road.play(1ms, false);
    road.server.publishTiming();
    road.play(1000ms, false);
    const std::int64_t earliest = road.readFrame() + leadFrames;
    const auto second = press(660);
    road.post(second);
    road.output.soundPosted();
    road.play(200ms);

    std::int64_t start = earliest;
    while (start <= earliest + lagUs * rate / 1'000'000 && road.mismatches({{0, first}, {start, second}}) != 0)
        ++start;
    EXPECT_LE(start, earliest + lagUs * rate / 1'000'000) << "the second key is not heard where it may start";
    road.expectHeard({{0, first}, {start, second}});
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
    road.open();
    road.post(press(440));
    road.output.resume();
    road.play(40ms);
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
        if (key > 4)
            EXPECT_LE(road.server.overwriteStart - read, periodBytes + leadFrames * frameBytes + frameBytes)
                << "key " << key;
    }
    road.play(200ms);
    EXPECT_EQ(road.server.lateFrames, lateAfterLearning) << "keys written where the sink had already read";
}

// Closing parks the stream corked and empty, and the next open plays through it again: the
// new sound from the first frame written, and a key after it mixed in as on a new stream. As
// long as the client has heard nothing of the positions since the stream was emptied, the
// key follows the queue.
TEST(PulseAudioOutput, ParksTheStreamAndTakesItUpAgainOnANewTimeline)
{
    enum class Report { afterStart, none };
    for (const Report report : {Report::afterStart, Report::none}) {
        SCOPED_TRACE(int(report));
        Road road;
        road.open();
        road.post(press(440));
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
        const std::int64_t start = report == Report::none ? (road.server.writeIndex() - road.origin) / frameBytes
                                                          : road.readFrame() + leadFrames;
        const auto second = press(700);
        road.post(second);
        road.output.soundPosted();
        road.play(200ms, report == Report::afterStart);
        road.expectHeard({{0, first}, {start, second}});
    }
}

// The server asks for what is missing whenever the sink has read a request's worth; running
// dry is counted once per time, not once per request it missed, and a new open starts again.
TEST(PulseAudioOutput, CountsEachTimeTheStreamRanDry)
{
    Road road;
    road.open();
    road.post(press(440));
    road.output.resume();
    road.play(50ms);
    EXPECT_EQ(road.output.underruns(), 0);
    for (int time = 1; time <= 2; ++time) {
        road.server.clientStalled = true;
        road.play(100ms);
        road.server.clientStalled = false;
        road.play(100ms);
        EXPECT_EQ(road.output.underruns(), time);
    }
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
    EXPECT_EQ(road.output.preferredSampleRate(), rate);
    road.open();
    EXPECT_EQ(road.server.streamRate(), rate);
    road.server.changeSinkRate(rate);
    EXPECT_FALSE(road.output.isLost()) << "an event that left the rate alone";
    road.server.changeSinkRate(44100);
    EXPECT_TRUE(road.output.isLost());
    EXPECT_EQ(road.output.preferredSampleRate(), 44100);
    road.output.close();
    EXPECT_FALSE(road.server.hasStream());
    const auto format = road.output.open(128, road.mixer);
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(format->sampleRate, 44100);
    EXPECT_EQ(road.server.streamRate(), 44100);
    EXPECT_EQ(road.server.streamsMade, 2);
    EXPECT_FALSE(road.output.isLost());
    EXPECT_EQ(road.server.deferEvents, 1);
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
        EXPECT_EQ(output.preferredSampleRate(), 0);
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

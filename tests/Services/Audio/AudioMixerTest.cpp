#include "Services/Audio/AudioMixer.h"

#include "Services/Audio/AudioTestSounds.h"

#include <gtest/gtest.h>

// Half-speed playback lands every other output frame between two source frames, and the last
// source frame leans towards silence.
TEST(AudioMixer, InterpolatesSixteenBitFramesOfEitherLayoutIntoSilenceAtTheEnd)
{
    constexpr float s = PlaybackSample::fullScale;
    const struct {
        int channels;
        std::vector<std::int16_t> samples;
        std::vector<float> expected; // interleaved left, right
    } cases[] = {
        {1, {1000, -2000, 4000},
         {1000 * s, 1000 * s, -500 * s, -500 * s, -2000 * s, -2000 * s, 1000 * s, 1000 * s, 4000 * s, 4000 * s,
          2000 * s, 2000 * s, 0, 0}},
        {2, {1000, 3000, -2000, 5000, 4000, -6000},
         {1000 * s, 3000 * s, -500 * s, 4000 * s, -2000 * s, 5000 * s, 1000 * s, -500 * s, 4000 * s, -6000 * s,
          2000 * s, -3000 * s, 0, 0}},
    };
    for (const auto &c : cases) {
        AudioMixer mixer(2);
        mixer.prepare(48000);
        auto sample = std::make_shared<PlaybackSample>();
        sample->samples = c.samples;
        sample->channels = c.channels;
        sample->sampleRate = 48000;
        ASSERT_TRUE(mixer.post({sample, 1, 1.0f, 1.0f, 0.5}));
        std::vector<float> out(c.expected.size());
        mixer.render(out.data(), int(out.size() / 2));
        EXPECT_EQ(out, c.expected) << c.channels << " channels";
        EXPECT_TRUE(mixer.isSilent()) << "done after its last frame";
    }
}

// A stretch rendered again from an earlier frame with a new sound comes out as if the sound had
// been there all along, to the bit, whatever the stretch's split: voices ring on from where they
// started, a voice taken over fades from the new start, and the limiter takes up its gain from
// that frame (loud enough here that it has to hold the mix down). A second session on the same
// mixer starts from a clean timeline.
TEST(AudioMixer, RendersAStretchAgainWithANewSoundAsIfItHadBeenThereAllAlong)
{
    const struct {
        const char *name;
        int voices;
        float gain;
        int chunk;
        std::int64_t back; // how far before the end of what was rendered the new sound starts
        qint64 firstFrames;
    } cases[] = {
        {"within the last render", 4, 0.5f, 480, 100, 9000},
        {"several renders back", 4, 0.5f, 97, 1000, 9000},
        {"limited", 4, 3.0f, 256, 700, 9000},
        {"the limiter recovering from a loud sound that ended", 4, 3.0f, 97, 1000, 2500},
        {"the same voice taken over", 1, 3.0f, 200, 500, 9000},
    };
    const auto second = AudioTestSounds::sine(0.8f, 500, 6000);
    constexpr std::int64_t length = 12000;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto first = AudioTestSounds::sine(0.8f, 300, c.firstFrames);
        // The second session runs on the same mixer, from the timeline's start again.
        AudioMixer live(c.voices);
        for (int session = 0; session < 2; ++session) {
            AudioMixer reference(c.voices);
            live.prepare(48000);
            reference.prepare(48000);
            for (AudioMixer *mixer : {&live, &reference})
                mixer->setPreGain(session == 0 ? 1.0f : 0.7f);
            std::vector<float> heard(2 * length);
            std::vector<float> expected(2 * length);
            ASSERT_TRUE(live.post({first, 0, c.gain, c.gain, 1.0}));
            std::int64_t rendered = 0;
            while (rendered < 4000) {
                live.render(heard.data() + 2 * rendered, c.chunk);
                rendered += c.chunk;
            }
            const std::int64_t start = rendered - c.back;
            ASSERT_TRUE(live.post({second, c.voices - 1, c.gain, c.gain * 0.5f, 1.0}));
            for (std::int64_t at = start; at < length; at += c.chunk)
                ASSERT_TRUE(live.renderFrom(at, heard.data() + 2 * at, int(std::min<std::int64_t>(c.chunk, length - at))));

            ASSERT_TRUE(reference.post({first, 0, c.gain, c.gain, 1.0}));
            reference.render(expected.data(), int(start));
            ASSERT_TRUE(reference.post({second, c.voices - 1, c.gain, c.gain * 0.5f, 1.0}));
            reference.render(expected.data() + 2 * start, int(length - start));
            EXPECT_EQ(heard, expected);
            EXPECT_TRUE(live.isSilent()) << "both rang out";
        }
    }
}

// Starts never go back in time: a sound handed over for a stretch from before the latest start
// starts at that latest start, so a voice is never taken over before it last was, and nothing
// sounds before it.
TEST(AudioMixer, ASoundHandedOverForAnEarlierStretchStartsAtTheLatestStart)
{
    AudioMixer mixer(2);
    mixer.prepare(48000);
    const auto tone = AudioTestSounds::constant(0.25f, 1000);
    std::vector<float> out(2 * 200, -1.0f);
    ASSERT_TRUE(mixer.post({tone, 0, 1.0f, 1.0f, 1.0}));
    ASSERT_TRUE(mixer.renderFrom(100, out.data() + 2 * 100, 100));
    ASSERT_TRUE(mixer.post({tone, 1, 1.0f, 1.0f, 1.0}));
    ASSERT_TRUE(mixer.renderFrom(50, out.data() + 2 * 50, 150));
    for (int frame = 50; frame < 200; ++frame)
        EXPECT_NEAR(out[std::size_t(2 * frame)], frame < 100 ? 0.0 : 0.5, 2 * AudioTestSounds::quantum) << frame;
}

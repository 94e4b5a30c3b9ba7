#include "Services/Audio/AudioMixer.h"

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

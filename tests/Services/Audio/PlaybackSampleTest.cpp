#include "Services/Audio/PlaybackSample.h"

#include "Services/Packs/SoundFiles.h"

#include <gtest/gtest.h>

TEST(PlaybackSample, SixteenBitFilesKeepEveryValue)
{
    // Five stereo frames, full scale both ways and the smallest steps among them.
    const std::vector<short> source{-32768, 32767, 1, -1, 0, 12345, -12345, 2, 32766, -32767};
    const auto decoded = SampleDecoder::decode(SoundFiles::encode(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, source),
                                               SampleDecoder::defaultLimits());
    ASSERT_TRUE(decoded);
    const PlaybackSample sample = PlaybackSample::from(*decoded);
    EXPECT_EQ(sample.channels, 2);
    EXPECT_EQ(sample.sampleRate, 44100);
    EXPECT_EQ(sample.frames(), 5);
    EXPECT_TRUE(std::ranges::equal(sample.samples, source));
    for (std::size_t i = 0; i < source.size(); ++i)
        EXPECT_EQ(sample.at(i), decoded->samples[i]) << "played as decoded, bit for bit, at " << i;
}

TEST(PlaybackSample, RoundsToTheNearestStepAndKeepsTheLevelOfLoudSounds)
{
    constexpr float step = 1.0f / 32768;
    const struct {
        float value;
        std::int16_t expected;
    } cases[] = {
        {0.4f * step, 0}, {0.6f * step, 1}, {-0.6f * step, -1}, {1000.7f * step, 1001}, {1.0f, 32767}, {-1.0f, -32768},
    };
    DecodedSample mono{{}, 1, 48000};
    for (const auto &c : cases)
        mono.samples.push_back(c.value);
    const PlaybackSample sample = PlaybackSample::from(mono);
    ASSERT_EQ(sample.frames(), qint64(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(sample.samples[i], cases[i].expected) << cases[i].value;

    const std::vector<float> loud{0.5f, 3.0f, -3.0f, -0.001f};
    const PlaybackSample kept = PlaybackSample::from(DecodedSample{loud, 2, 48000});
    EXPECT_EQ(kept.frames(), 2);
    for (std::size_t i = 0; i < loud.size(); ++i)
        EXPECT_NEAR(kept.at(i), loud[i], 3.0 / 32767) << "not clipped at " << i;
}

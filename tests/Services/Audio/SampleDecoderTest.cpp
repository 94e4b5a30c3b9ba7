#include "Services/Audio/SampleDecoder.h"
#include "Services/Audio/SndFileLibrary.h"
#include "Services/Packs/SoundFiles.h"
#include "support/TestSndFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <thread>

namespace {

struct FormatCase {
    const char *name;
    int format;
    int channels;
    float tolerance;
};

}

TEST(SampleDecoder, DecodesEveryContainerTheLibraryReads)
{
    const FormatCase cases[] = {
        {"wav pcm16", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 1e-4f},
        {"wav float", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 0.0f},
        {"aiff pcm24", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 2, 1e-5f},
        {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 1e-4f},
        {"ogg vorbis", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1, 0.05f},
        {"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 1, 0.1f},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const qint64 frames = 4800;
        const auto source = SoundFiles::tone(frames, c.channels, 48000);
        const QByteArray bytes = SoundFiles::encode(c.format, 48000, c.channels, source);
        ASSERT_FALSE(bytes.isEmpty());
        auto decoded = SampleDecoder::decode(bytes, SampleDecoder::defaultLimits());
        ASSERT_TRUE(decoded) << decoded.error().message.toStdString();
        EXPECT_EQ(decoded->channels, c.channels);
        EXPECT_EQ(decoded->sampleRate, 48000);
        if (c.tolerance > 0.01f) {
            // Lossy codecs add priming frames and smear the waveform; the energy survives.
            EXPECT_GE(decoded->frames(), frames);
            float peak = 0;
            for (float v : decoded->samples)
                peak = std::max(peak, std::abs(v));
            EXPECT_NEAR(peak, 0.5f, 0.1f);
            continue;
        }
        ASSERT_EQ(decoded->frames(), frames);
        for (size_t i = 0; i < source.size(); i += 97)
            EXPECT_NEAR(decoded->samples[i], source[i], c.tolerance) << i;
    }
}

TEST(SampleDecoder, EnforcesEachLimitAtItsBoundary)
{
    const auto limits = SampleDecoder::defaultLimits();
    struct Case {
        const char *name;
        QByteArray bytes;
        std::optional<SampleDecoder::Code> refusal;
    };
    const Case cases[] = {
        {"lowest rate", SoundFiles::pcmWav(100, 8000), std::nullopt},
        {"rate below", SoundFiles::pcmWav(100, 7999), SampleDecoder::unsupportedSampleRate},
        {"highest rate", SoundFiles::pcmWav(100, 192000), std::nullopt},
        {"rate above", SoundFiles::pcmWav(100, 192001), SampleDecoder::unsupportedSampleRate},
        {"stereo", SoundFiles::pcmWav(100, 48000, 2), std::nullopt},
        {"three channels", SoundFiles::pcmWav(100, 48000, 3), SampleDecoder::unsupportedChannelCount},
        {"exactly 30 s", SoundFiles::pcmWav(8000 * 30, 8000), std::nullopt},
        {"one frame over 30 s", SoundFiles::pcmWav(8000 * 30 + 1, 8000), SampleDecoder::tooLong},
        {"no frames", SoundFiles::pcmWav(0), SampleDecoder::empty},
        {"not audio", QByteArray("RIFF....WAVEnonsense and more nonsense"), SampleDecoder::unreadable},
        {"no bytes", QByteArray(), SampleDecoder::unreadable},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto decoded = SampleDecoder::decode(c.bytes, limits);
        if (!c.refusal) {
            EXPECT_TRUE(decoded) << decoded.error().message.toStdString();
            continue;
        }
        ASSERT_FALSE(decoded);
        EXPECT_EQ(decoded.error().domain, "Knockwell.Audio");
        EXPECT_EQ(decoded.error().code, *c.refusal);
        EXPECT_EQ(decoded.error().message, SampleDecoder::message(*c.refusal));
    }
}

TEST(SampleDecoder, RefusesOversizedInputAndNonFiniteSamples)
{
    auto limits = SampleDecoder::defaultLimits();
    const QByteArray wav = SoundFiles::pcmWav(1000);
    limits.maxBytes = wav.size() - 1;
    auto tooLarge = SampleDecoder::decode(wav, limits);
    ASSERT_FALSE(tooLarge);
    EXPECT_EQ(tooLarge.error().code, SampleDecoder::fileTooLarge);

    std::vector<float> samples(100, 0.25f);
    samples[50] = std::numeric_limits<float>::quiet_NaN();
    auto nan = SampleDecoder::decode(SoundFiles::encode(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 1, samples),
                                     SampleDecoder::defaultLimits());
    ASSERT_FALSE(nan);
    EXPECT_EQ(nan.error().code, SampleDecoder::damaged);
}

// The decoder's library and the codecs it brings are mapped only while something decodes:
// decodes at once share it, the last to finish closes it, and a decode after that opens it
// anew and finds each codec working again.
TEST(SampleDecoder, KeepsItsLibraryOnlyWhileDecoding)
{
    if (TestSndFile::pulseAudioMapped())
        GTEST_SKIP() << "PulseAudio's client library keeps libsndfile mapped";
    const auto tone = SoundFiles::tone(4800, 1, 48000);
    const QByteArray encoded[] = {
        SoundFiles::pcmWav(4800),
        SoundFiles::encode(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 48000, 1, tone),
        SoundFiles::encode(SF_FORMAT_OGG | SF_FORMAT_VORBIS, 48000, 1, tone),
        SoundFiles::encode(SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 48000, 1, tone),
    };
    ASSERT_FALSE(TestSndFile::mapped());

    std::atomic<int> failures = 0;
    std::vector<std::thread> decoders;
    for (int thread = 0; thread < 8; ++thread) {
        decoders.emplace_back([&encoded, &failures, thread] {
            for (int round = 0; round < 24; ++round) {
                const auto decoded =
                    SampleDecoder::decode(encoded[(thread + round) % 4], SampleDecoder::defaultLimits());
                if (!decoded || decoded->frames() < 4800)
                    ++failures;
            }
        });
    }
    for (std::thread &decoder : decoders)
        decoder.join();
    EXPECT_EQ(failures, 0);
    EXPECT_FALSE(TestSndFile::mapped());

    for (const QByteArray &bytes : encoded) {
        const auto held = SndFileLibrary::acquire();
        ASSERT_TRUE(held) << held.error().toStdString();
        EXPECT_TRUE(TestSndFile::mapped());
        const auto decoded = SampleDecoder::decode(bytes, SampleDecoder::defaultLimits());
        ASSERT_TRUE(decoded) << decoded.error().message.toStdString();
        EXPECT_GE(decoded->frames(), 4800);
    }
    EXPECT_FALSE(TestSndFile::mapped());
}

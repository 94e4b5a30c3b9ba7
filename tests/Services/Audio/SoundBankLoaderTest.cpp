#include "Services/Audio/SoundBankLoader.h"

#include "Services/Audio/LoudnessPolicy.h"
#include "Services/Audio/SampleRateConverter.h"
#include "Services/Packs/SoundFiles.h"
#include "support/TestFolders.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {
std::vector<float> sine(float amplitude, int frames, int sampleRate)
{
    std::vector<float> samples;
    for (int i = 0; i < frames; ++i)
        samples.push_back(float(amplitude * std::sin(2 * std::numbers::pi * 1000.0 * i / sampleRate)));
    return samples;
}

LoadedSoundPack packIn(const TestFolder &folder, std::map<KeyGroup, SampleSet> groups)
{
    LoadedSoundPack pack;
    pack.manifest.id = "test";
    pack.manifest.name = "Test";
    pack.manifest.author = "Tests";
    pack.manifest.groups = std::move(groups);
    pack.directory = folder.path();
    return pack;
}
}

TEST(SoundBankLoader, DecodesConvertsAndSharesEverySampleThePackLists)
{
    TestFolder folder;
    folder.write("press.wav", SoundFiles::encode(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 1, sine(0.5f, 4410, 44100)));
    folder.write("release.wav", SoundFiles::encode(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 48000, 2,
                                                   std::vector<float>(960, 0.25f)));
    const LoadedSoundPack pack = packIn(folder, {{KeyGroup::regular, {{"press.wav"}, {"release.wav"}}},
                                                 {KeyGroup::space, {{"press.wav"}, {}}}});
    const auto bank = SoundBankLoader::load(pack, 48000);
    ASSERT_TRUE(bank) << bank.error().message.toStdString();
    const auto *press = (*bank)->lookup(KeyGroup::regular, KeyPhase::down);
    ASSERT_NE(press, nullptr);
    EXPECT_EQ(press->front()->sampleRate, 48000);
    EXPECT_NEAR(double(press->front()->frames()), 4800.0, 2.0);
    EXPECT_EQ((*bank)->lookup(KeyGroup::space, KeyPhase::down)->front(), press->front());
    EXPECT_EQ((*bank)->lookup(KeyGroup::regular, KeyPhase::up)->front()->channels, 2);
    EXPECT_EQ((*bank)->lookup(KeyGroup::enter, KeyPhase::down)->front(), press->front());
    EXPECT_EQ((*bank)->sampleRate(), 48000);
}

TEST(SoundBankLoader, OneUnusableSampleFailsThePack)
{
    struct Case {
        const char *name;
        QString file;
        QByteArray bytes;
        QString listed;
        QString domain;
        int code;
    };
    const std::vector<Case> cases = {
        {"missing file", "press.wav", SoundFiles::floatWav(480), "other.wav", "NSCocoaErrorDomain", 260},
        {"not audio", "press.wav", "plain text", "press.wav", "Knockwell.Audio", 2},
        {"too many channels", "press.wav", SoundFiles::floatWav(480, 48000, 3), "press.wav", "Knockwell.Audio", 4},
    };
    for (const Case &c : cases) {
        TestFolder folder;
        folder.write("good.wav", SoundFiles::floatWav(480));
        folder.write(c.file, c.bytes);
        const auto bank = SoundBankLoader::load(
            packIn(folder, {{KeyGroup::regular, {{"good.wav"}, {}}}, {KeyGroup::space, {{c.listed}, {}}}}), 48000);
        ASSERT_FALSE(bank) << c.name;
        EXPECT_EQ(bank.error().domain, c.domain) << c.name;
        EXPECT_EQ(bank.error().code, c.code) << c.name;
    }
}

TEST(SoundBankLoader, ALinkedSampleIsRefused)
{
    TestFolder folder;
    const QString target = folder.write("real.wav", SoundFiles::floatWav(480));
    QFile::link(target, folder.filePath("press.wav"));
    const auto bank = SoundBankLoader::load(packIn(folder, {{KeyGroup::regular, {{"press.wav"}, {}}}}), 48000);
    ASSERT_FALSE(bank);
    EXPECT_EQ(bank.error().domain, "NSCocoaErrorDomain");
}

TEST(SoundBankLoader, StopsWhenCancelled)
{
    TestFolder folder;
    folder.write("press.wav", SoundFiles::floatWav(480));
    const std::atomic<bool> cancelled{true};
    const auto bank =
        SoundBankLoader::load(packIn(folder, {{KeyGroup::regular, {{"press.wav"}, {}}}}), 48000, &cancelled);
    ASSERT_FALSE(bank);
    EXPECT_EQ(bank.error().code, SoundBankLoader::cancelled);
}

TEST(LoudnessPolicy, QuietAndLoudPacksAreBroughtToOneLevel)
{
    for (float amplitude : {0.05f, 0.2f, 0.4f}) {
        DecodedSample sample{sine(amplitude, 4800, 48000), 1, 48000};
        const double loudness = LoudnessPolicy::sampleLoudness(sample);
        EXPECT_NEAR(loudness, amplitude / std::sqrt(2.0), amplitude * 0.02) << amplitude;
        const float gain = LoudnessPolicy::packGain({loudness});
        EXPECT_NEAR(loudness * gain, LoudnessPolicy::targetLoudness, 1e-3) << amplitude;
    }
    // A short click in a long silent tail is as loud as the click alone.
    std::vector<float> click = sine(0.4f, 960, 48000);
    click.resize(48000, 0.0f);
    EXPECT_NEAR(LoudnessPolicy::sampleLoudness({click, 1, 48000}), 0.4 / std::sqrt(2.0), 0.01);

    EXPECT_EQ(LoudnessPolicy::packGain({1e-4}), LoudnessPolicy::maxGain);
    EXPECT_EQ(LoudnessPolicy::packGain({2.0}), LoudnessPolicy::minGain);
    EXPECT_EQ(LoudnessPolicy::packGain({}), 1.0f);
    EXPECT_EQ(LoudnessPolicy::packGain({0.0}), 1.0f);
}

TEST(SampleRateConverter, KeepsLengthInTimeAndLevel)
{
    for (int rate : {22050, 44100, 96000}) {
        DecodedSample sample{sine(0.5f, rate / 10, rate), 1, rate};
        const auto converted = SampleRateConverter::convert(sample, 48000);
        ASSERT_TRUE(converted) << rate;
        EXPECT_EQ(converted->sampleRate, 48000);
        EXPECT_NEAR(double(converted->frames()), 4800.0, 2.0) << rate;
        EXPECT_NEAR(LoudnessPolicy::sampleLoudness(*converted), 0.5 / std::sqrt(2.0), 0.02) << rate;
    }
    DecodedSample same{sine(0.5f, 480, 48000), 1, 48000};
    EXPECT_EQ(SampleRateConverter::convert(same, 48000)->samples, same.samples);
}

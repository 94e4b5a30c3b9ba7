#include "Effects/ScreenToys/ScreenToySound.h"
#include "Platform/Linux/SdlAudioOutput.h"
#include "Services/Packs/SoundFiles.h"
#include "Services/Audio/AudioTestSounds.h"
#include "fakes/FakeAudioOutput.h"
#include "fakes/ManualAudioTimer.h"
#include "support/TestFolders.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

using namespace std::chrono_literals;

namespace {
struct ToySoundFixture {
    std::shared_ptr<FakeAudioOutput::State> device = std::make_shared<FakeAudioOutput::State>();
    ManualClock clock;
    ManualAudioTimer timer{clock};
    TestFolder folder;
    std::unique_ptr<ScreenToySound> sound;

    ScreenToySound &make()
    {
        sound = std::make_unique<ScreenToySound>(std::make_unique<FakeAudioOutput>(device), folder.path(),
                                                 timer.delayedCall());
        return *sound;
    }
    // The left channel of the frame after `frames` more frames have been rendered.
    float levelAfter(int frames)
    {
        sound->flush();
        std::vector<float> buffer;
        for (int done = 0; done < frames; done += 128)
            buffer = device->render(128);
        return buffer[2 * 127];
    }
};
}

TEST(ScreenToySound, VolumeLaw)
{
    struct Case {
        ScreenToyKind kind;
        float volume;
        float gain;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {ScreenToyKind::blaster, 0.55f, 0.88f}, {ScreenToyKind::ak47, 0.55f, 0.99f},
        {ScreenToyKind::whip, 0.55f, 0.55f},    {ScreenToyKind::ak47, 1.5f, 2.7f},
        {ScreenToyKind::ak47, 9.0f, 2.7f},      {ScreenToyKind::grenade, -1.0f, 0.0f},
        {ScreenToyKind::blaster, nan, 0.0f},
        {ScreenToyKind::blaster, std::numeric_limits<float>::infinity(), 0.0f},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(ScreenToySound::playbackVolume(c.kind, c.volume), c.gain, 1e-6) << rawValue(c.kind).toStdString();
}

TEST(ScreenToySound, CrackVolumeGrowsWithTheSwingUpToItsCaps)
{
    const struct {
        float volume;
        double lashSpeed;
        float expected;
    } cases[] = {
        {0.55f, 0, 0.3575f}, {0.55f, 1100, 0.66f}, {0.55f, 2300, 0.99f},
        {0.55f, 9000, 0.99f}, {0.8f, 2000, 1.0f}, {0.0f, 5000, 0.0f},
    };
    for (const auto &c : cases)
        EXPECT_NEAR(ScreenToySound::crackVolume(c.volume, c.lashSpeed), c.expected, 1e-6) << c.volume << " " << c.lashSpeed;
}

TEST(ScreenToySound, SynthesisedFallbacks)
{
    struct Case {
        ScreenToyKind kind;
        std::size_t samples;
    };
    for (const Case c : {Case{ScreenToyKind::whip, 14880}, Case{ScreenToyKind::grenade, 86400},
                         Case{ScreenToyKind::blaster, 11040}, Case{ScreenToyKind::waterGun, 18240}}) {
        const auto samples = ScreenToySound::fallbackSamples(c.kind);
        EXPECT_EQ(samples.size(), c.samples);
        float peak = 0;
        for (float s : samples)
            peak = std::max(peak, std::fabs(s));
        EXPECT_LE(peak, 0.9f);
        EXPECT_GT(peak, 0.1f);
    }
    EXPECT_EQ(ScreenToySound::fallbackSamples(ScreenToyKind::blaster),
              ScreenToySound::fallbackSamples(ScreenToyKind::ak47));
}

TEST(ScreenToySound, RecordingsOnlyAsTheyAreAndTheThrowConverted)
{
    TestFolder folder;
    folder.write(QStringLiteral("whip.wav"), SoundFiles::floatWav(4410, 44100));
    folder.write(QStringLiteral("water.wav"), SoundFiles::floatWav(4800, 48000, 2));
    folder.write(QStringLiteral("handgun.wav"), SoundFiles::floatWav(1000, 48000));
    folder.write(QStringLiteral("ak47.wav"), QByteArray("not a sound"));
    folder.write(QStringLiteral("grenade-throw.wav"), SoundFiles::pcmWav(44100, 44100, 2));

    EXPECT_EQ(ScreenToySound::samples(ScreenToyKind::whip, folder.path()).size(), 14880u) << "44.1 kHz is ignored";
    EXPECT_EQ(ScreenToySound::samples(ScreenToyKind::waterGun, folder.path()).size(), 18240u) << "stereo is ignored";
    EXPECT_EQ(ScreenToySound::samples(ScreenToyKind::blaster, folder.path()).size(), 1000u);
    EXPECT_EQ(ScreenToySound::samples(ScreenToyKind::ak47, folder.path()).size(), 11040u);
    EXPECT_EQ(ScreenToySound::samples(ScreenToyKind::grenade, folder.path()).size(), 86400u) << "missing";

    // One second at 44.1 kHz stereo plays as one second on the 48 kHz mono voices.
    const auto thrown = ScreenToySound::loadThrowRecording(folder.path());
    ASSERT_TRUE(thrown);
    EXPECT_EQ(thrown->channels, 1);
    EXPECT_EQ(thrown->sampleRate, 48000);
    EXPECT_NEAR(double(thrown->frames()), 48000.0, 2.0);
    EXPECT_FALSE(ScreenToySound::loadThrowRecording(QString()));
}

TEST(ScreenToySound, FifthSoundTakesOverTheFirstVoice)
{
    ToySoundFixture f;
    ScreenToySound &sound = f.make();
    // Five endless tones whose levels tell which are sounding.
    for (float level : {0.01f, 0.02f, 0.04f, 0.08f})
        sound.playBuffer(AudioTestSounds::constant(level, 48000), 1.0f);
    EXPECT_NEAR(f.levelAfter(512), 0.15f, 1e-5);
    sound.playBuffer(AudioTestSounds::constant(0.16f, 48000), 1.0f);
    EXPECT_NEAR(f.levelAfter(512), 0.30f, AudioTestSounds::quantum);
}

TEST(ScreenToySound, GainAboveOneGoesToTheSharedPreGain)
{
    ToySoundFixture f;
    ScreenToySound &sound = f.make();
    sound.playBuffer(AudioTestSounds::constant(0.1f, 48000), 0.5f);
    EXPECT_NEAR(f.levelAfter(256), 0.05f, AudioTestSounds::quantum);
    // The louder sound's pre-gain reaches the quieter voice still sounding too.
    sound.playBuffer(AudioTestSounds::constant(0.1f, 48000), 2.7f);
    EXPECT_NEAR(f.levelAfter(512), (0.05f + 0.1f) * 2.7f, 3 * AudioTestSounds::quantum);
    EXPECT_NEAR(20 * std::log10(2.7), 8.63, 0.01);
}

TEST(ScreenToySound, NothingPlaysWithoutAPositiveFiniteGain)
{
    ToySoundFixture f;
    ScreenToySound &sound = f.make();
    sound.play(ScreenToyKind::blaster, -1.0f);
    sound.play(ScreenToyKind::blaster, std::numeric_limits<float>::quiet_NaN());
    sound.playBuffer(AudioTestSounds::constant(0.1f, 480), std::numeric_limits<float>::infinity());
    sound.playBuffer(nullptr, 1.0f);
    sound.flush();
    EXPECT_EQ(f.device->opens, 0);
    EXPECT_FALSE(sound.grenadeThrowBuffer()) << "no throw recording in the folder";
}

TEST(ScreenToySound, StopsTwoSecondsAfterTheLastSoundAndStartsAgain)
{
    ToySoundFixture f;
    ScreenToySound &sound = f.make();
    sound.play(ScreenToyKind::whip, 0.55f);
    sound.flush();
    EXPECT_TRUE(sound.isRunning());
    f.timer.advance(1500ms);
    sound.play(ScreenToyKind::whip, 0.55f);
    sound.flush();
    f.timer.advance(1500ms);
    sound.flush();
    EXPECT_TRUE(sound.isRunning()) << "2 s counts from the latest sound";
    f.timer.advance(500ms);
    sound.flush();
    EXPECT_FALSE(sound.isRunning());
    EXPECT_EQ(f.device->closes, 1);

    sound.play(ScreenToyKind::grenade, 1.0f);
    sound.flush();
    EXPECT_EQ(f.device->opens, 2);
    sound.stop();
    EXPECT_FALSE(sound.isRunning());
    f.timer.advance(3000ms);
    sound.flush();
    EXPECT_EQ(f.device->closes, 2) << "the idle stop of a stopped sound does nothing";
}

// SDL's "disk" driver writes what the device is fed into a file.
TEST(ScreenToySound, AShotReachesTheDeviceAndNothingIsWrittenAfterTheIdleStop)
{
    TestFolder folder;
    const QString output = folder.filePath(QStringLiteral("toys.raw"));
    const QByteArray previousDriver = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", output.toLocal8Bit());
    SerialQueue timer(QStringLiteral("test.toy-idle"), SerialQueue::Priority::utility);
    {
        // The idle stop comes after 100 ms instead of 2 s, so the test stays short.
        ScreenToySound sound(std::make_unique<SdlAudioOutput>(), folder.path(),
                             [&](std::chrono::milliseconds, std::function<void()> task) {
                                 timer.asyncAfter(100ms, std::move(task));
                             });
        sound.play(ScreenToyKind::blaster, 1.0f);
        sound.flush();
        EXPECT_TRUE(sound.isRunning());
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (sound.isRunning() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(10ms);
        ASSERT_FALSE(sound.isRunning());

        QFile file(output);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const auto *frames = reinterpret_cast<const float *>(bytes.constData());
        float peak = 0;
        for (qsizetype i = 0; i < bytes.size() / qsizetype(sizeof(float)); ++i)
            peak = std::max(peak, std::fabs(frames[i]));
        EXPECT_GT(peak, 0.3f);

        const qint64 size = QFileInfo(output).size();
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(QFileInfo(output).size(), size);
    }
    qputenv("SDL_AUDIODRIVER", previousDriver);
    qunsetenv("SDL_DISKAUDIOFILE");
}

#include "Services/Studio/ClipFile.h"
#include "Services/Packs/PackImportErrors.h"
#include "Services/Studio/ClipProcessor.h"
#include "Services/Studio/StudioTestAudio.h"
#include "support/TestFolders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <bit>
#include <limits>

#include <fcntl.h>
#include <unistd.h>

namespace {
QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

std::vector<float> tone(std::size_t count)
{
    std::vector<float> samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = float(int(i % 200) - 100) / 128.0f;
    return samples;
}

}

TEST(ClipFile, LoadsWithinTheLimitsAndRefusesBeyondThem)
{
    TestFolder folder;
    struct Case {
        const char *name;
        int sampleRate;
        int channels;
        std::size_t frames;
        bool accepted;
    };
    const Case cases[] = {
        {"8000 Hz", 8000, 1, 100, true},
        {"192000 Hz", 192000, 1, 100, true},
        {"7999 Hz", 7999, 1, 100, false},
        {"192001 Hz", 192001, 1, 100, false},
        {"stereo", 44100, 2, 100, true},
        {"three channels", 44100, 3, 100, false},
        {"no frames", 44100, 1, 0, false},
        {"exactly 30 s", 8000, 1, 240000, true},
        {"one frame over 30 s", 8000, 1, 240001, false},
        {"30 s of stereo at 44.1 kHz", 44100, 2, 1323000, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.filePath(QString::fromUtf8(c.name) + ".wav");
        ASSERT_TRUE(writeTestAudio(path, c.sampleRate, c.channels, std::vector<float>(c.frames * c.channels, 0.25f)));
        const auto clip = ClipFile::load(path);
        ASSERT_EQ(bool(clip), c.accepted);
        if (clip) {
            EXPECT_EQ(clip->sampleRate, c.sampleRate);
            EXPECT_EQ(clip->frameCount(), qint64(c.frames));
            EXPECT_EQ(clip->samples->front(), 0.25f);
        } else {
            EXPECT_EQ(clip.error().domain, CocoaError::domain);
            EXPECT_EQ(clip.error().code, CocoaError::fileReadCorruptFile);
            EXPECT_TRUE(clip.error().message.contains(QString::fromUtf8(c.name))) << clip.error().message.toStdString();
        }
    }
}

TEST(ClipFile, MixesStereoToTheMeanAndRefusesDamagedSamples)
{
    TestFolder folder;
    const QString stereo = folder.filePath("stereo.wav");
    ASSERT_TRUE(writeTestAudio(stereo, 48000, 2, {1.0f, -1.0f, 0.5f, 0.5f, 2.0f, 1.0f, -0.25f, 0.0f}));
    const auto clip = ClipFile::load(stereo);
    ASSERT_TRUE(clip);
    EXPECT_EQ(*clip->samples, (std::vector<float>{0.0f, 0.5f, 1.5f, -0.125f})) << "not clamped either";

    const QString pcm16 = folder.filePath("pcm16.wav");
    ASSERT_TRUE(writeTestAudio(pcm16, 22050, 1, {0.5f, -0.25f}, SF_FORMAT_WAV | SF_FORMAT_PCM_16));
    const auto integer = ClipFile::load(pcm16);
    ASSERT_TRUE(integer);
    EXPECT_EQ(*integer->samples, (std::vector<float>{0.5f, -0.25f}));

    const QString flac = folder.filePath("clip.flac");
    ASSERT_TRUE(writeTestAudio(flac, 96000, 2, {0.5f, 0.5f}, SF_FORMAT_FLAC | SF_FORMAT_PCM_24));
    EXPECT_TRUE(ClipFile::load(flac));

    for (const float damage : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        const QString damaged = folder.filePath("damaged.wav");
        QFile::remove(damaged);
        ASSERT_TRUE(writeTestAudio(damaged, 48000, 2, {0.1f, 0.1f, 0.2f, damage}));
        const auto refused = ClipFile::load(damaged);
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error().code, CocoaError::fileReadCorruptFile);
    }
}

TEST(ClipFile, PassesOnWhyAFileCannotBeRead)
{
    TestFolder folder;
    const auto missing = ClipFile::load(folder.filePath("absent.wav"));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, CocoaError::fileReadNoSuchFile);

    // A file that is there, chosen through a dialog under a name whose bytes are not UTF-8: it
    // arrives decoded with U+FFFD and cannot be found, and the user is told why as the
    // importer tells it.
    const QByteArray latin1Name = QFile::encodeName(folder.path()) + "/caf\xE9.wav";
    const int latin1Fd = ::open(latin1Name.constData(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(latin1Fd, 0);
    ::close(latin1Fd);
    const auto undecodable = ClipFile::load(QFile::decodeName(latin1Name));
    ASSERT_FALSE(undecodable);
    EXPECT_EQ(undecodable.error().message,
              AudioImportError::make(AudioImportError::undecodableName, QFileInfo(QFile::decodeName(latin1Name)).fileName())
                  .message);

    const auto text = ClipFile::load(folder.write("notes.wav", "these are not samples, just words"));
    ASSERT_FALSE(text);
    EXPECT_EQ(text.error().domain, "SndFileErrorDomain");
    EXPECT_TRUE(text.error().message.startsWith("“notes.wav”")) << text.error().message.toStdString();
    EXPECT_FALSE(text.error().message.contains(".)")) << text.error().message.toStdString();

    const auto folderItem = ClipFile::load(folder.makeDir("samples.wav"));
    ASSERT_FALSE(folderItem);
    EXPECT_EQ(folderItem.error().code, CocoaError::fileReadCorruptFile);
}

TEST(ClipFile, ExportWritesMonoFloatWavThatReadsBackBitExactly)
{
    TestFolder folder;
    const std::vector<float> samples = tone(5000);
    struct Case {
        const char *fileName;
        double sampleRate;
        AudioClipEdit edit;
    };
    const Case cases[] = {
        {"whole.wav", 44100, {0, 5000, 1.0f, 0, 0}},
        {"LOUD.WAV", 8000, {100, 4000, 4.0f, 0, 0}},
        {"faded.Wav", 192000, {10, 4990, 0.5f, 300, 2000}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.fileName);
        const QString destination = folder.filePath(c.fileName);
        ASSERT_TRUE(ClipFile::exportClip(samples, c.sampleRate, c.edit, destination));
        const TestAudio written = readTestAudio(destination);
        EXPECT_EQ(written.sampleRate, int(c.sampleRate));
        EXPECT_EQ(written.channels, 1);
        EXPECT_EQ(written.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
        const auto expected = ClipProcessor::process(samples, c.edit);
        ASSERT_EQ(written.interleaved.size(), expected->size());
        for (std::size_t i = 0; i < expected->size(); ++i)
            ASSERT_EQ(std::bit_cast<quint32>(written.interleaved[i]), std::bit_cast<quint32>((*expected)[i])) << i;

        const auto reloaded = ClipFile::load(destination);
        ASSERT_TRUE(reloaded);
        EXPECT_EQ(*reloaded->samples, *expected);
    }
    EXPECT_EQ(folderEntries(folder.path()), (QStringList{"LOUD.WAV", "faded.Wav", "whole.wav"}));
}

TEST(ClipFile, RefusedExportsLeaveTheDestinationAsItWas)
{
    TestFolder folder;
    const std::vector<float> samples = tone(1000);
    const AudioClipEdit whole{0, 1000, 1.0f, 0, 0};
    const QString existingFile = folder.write("existing.wav", "keep me");
    const QString existingFolder = folder.makeDir("folder.wav");
    const QString dangling = folder.filePath("dangling.wav");
    ASSERT_TRUE(QFile::link(folder.filePath("nowhere"), dangling));
    const QStringList before = folderEntries(folder.path());

    struct Case {
        const char *name;
        double sampleRate;
        AudioClipEdit edit;
        QString destination;
        QString domain;
        int code;
    };
    const Case cases[] = {
        {"rate below 8000", 7999, whole, folder.filePath("a.wav"), CocoaError::domain, CocoaError::fileWriteFileExists},
        {"rate above 192000", 192000.5, whole, folder.filePath("a.wav"), CocoaError::domain,
         CocoaError::fileWriteFileExists},
        {"rate NaN", std::numeric_limits<double>::quiet_NaN(), whole, folder.filePath("a.wav"), CocoaError::domain,
         CocoaError::fileWriteFileExists},
        {"existing file", 48000, whole, existingFile, CocoaError::domain, CocoaError::fileWriteFileExists},
        {"existing folder", 48000, whole, existingFolder, CocoaError::domain, CocoaError::fileWriteFileExists},
        {"dangling link", 48000, whole, dangling, CocoaError::domain, CocoaError::fileWriteFileExists},
        {"aiff extension", 48000, whole, folder.filePath("a.aiff"), CocoaError::domain,
         CocoaError::fileWriteFileExists},
        {"no extension", 48000, whole, folder.filePath("a"), CocoaError::domain, CocoaError::fileWriteFileExists},
        {"invalid edit", 48000, {0, 1001, 1.0f, 0, 0}, folder.filePath("a.wav"), CocoaError::domain,
         CocoaError::validationMissingMandatoryProperty},
        {"longer than 30 s", 8000, whole, folder.filePath("a.wav"), CocoaError::domain, -1},
        {"missing folder", 48000, whole, folder.filePath("absent/a.wav"), CocoaError::domain,
         CocoaError::fileNoSuchFile},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<float> input = samples;
        if (c.code == -1)
            input.resize(240001, 0.1f);
        AudioClipEdit edit = c.edit;
        if (c.code == -1)
            edit.endFrame = 240001;
        const auto exported = ClipFile::exportClip(input, c.sampleRate, edit, c.destination);
        ASSERT_FALSE(exported);
        EXPECT_EQ(exported.error().domain, c.domain);
        EXPECT_EQ(exported.error().code, c.code == -1 ? int(CocoaError::fileWriteUnknown) : c.code);
        EXPECT_FALSE(exported.error().message.isEmpty());
        EXPECT_EQ(folderEntries(folder.path()), before);
    }
    QFile kept(existingFile);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "keep me");
}

TEST(ClipFile, AWriteThatFailsHalfWayLeavesNothingBehind)
{
    TestFolder folder;
    const std::vector<float> samples = tone(48000);
    Result<void> exported;
    {
        const FileSizeLimit limit(4096);
        exported = ClipFile::exportClip(samples, 48000, {0, 48000, 1.0f, 0, 0}, folder.filePath("big.wav"));
    }
    ASSERT_FALSE(exported);
    EXPECT_TRUE(folderEntries(folder.path()).isEmpty()) << folderEntries(folder.path()).join(", ").toStdString();
}

// libsndfile is opened for each file read or written and closed after it, whether the file was
// accepted or not, and opening it again finds it working.
TEST(ClipFile, LetsItsLibraryGoAfterEachFile)
{
    if (TestSndFile::pulseAudioMapped())
        GTEST_SKIP() << "PulseAudio's client library keeps libsndfile mapped";
    TestFolder folder;
    const QString source = folder.filePath("source.wav");
    ASSERT_TRUE(writeTestAudio(source, 48000, 2, tone(2000)));
    const QString notAudio = folder.write("notes.wav", "these are not samples, just words");
    ASSERT_FALSE(TestSndFile::mapped());

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const auto loaded = ClipFile::load(source);
        ASSERT_TRUE(loaded) << loaded.error().message.toStdString();
        EXPECT_FALSE(TestSndFile::mapped());
        EXPECT_FALSE(ClipFile::load(notAudio));
        EXPECT_FALSE(TestSndFile::mapped());
        const QString exported = folder.filePath(QStringLiteral("edited-%1.wav").arg(round));
        ASSERT_TRUE(ClipFile::exportClip(*loaded->samples, loaded->sampleRate, {0, 1000, 1.0f, 0, 0}, exported));
        EXPECT_FALSE(TestSndFile::mapped());
        EXPECT_EQ(readTestAudio(exported).interleaved.size(), 1000u);
    }
}

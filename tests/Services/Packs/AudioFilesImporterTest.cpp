#include "Services/Packs/AudioFilesImporter.h"
#include "Services/Packs/PackFixtures.h"
#include "Services/Packs/PackImportErrors.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using PackKind = SoundPackManifest::PackKind;

TEST(AudioFilesImporter, TurnsLooseFilesIntoOneReactionPack)
{
    TestFolder folder;
    const QStringList files = {
        folder.write("Ouch.wav", SoundFiles::pcmWav(4800)),
        folder.write("boing.FLAC", SoundFiles::encode(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100, 2,
                                                      SoundFiles::tone(4410, 2, 44100))),
        folder.write("noise", SoundFiles::floatWav(100)),
    };
    const QString library = folder.filePath("Reaction Packs");
    auto installed = AudioFilesImporter::importFiles(files, library, nullptr);
    ASSERT_TRUE(installed) << installed.error().message.toStdString();

    const SoundPackManifest &manifest = installed->manifest;
    EXPECT_EQ(manifest.kind, PackKind::reaction);
    EXPECT_EQ(manifest.name, "Ouch + 2 more");
    EXPECT_TRUE(manifest.id.startsWith("import-"));
    ASSERT_EQ(manifest.groups.size(), 1u);
    EXPECT_EQ(manifest.groups.at(KeyGroup::reaction),
              (SampleSet{{"samples/1.wav", "samples/2.flac", "samples/3.audio"}, {}}));
    EXPECT_EQ(PackFixtures::everythingIn(library).size(), 1);
    EXPECT_EQ(PackFixtures::everythingIn(installed->directory + "/samples").size(), 3);
}

TEST(AudioFilesImporter, RefusesFilesItCannotUseLeavingNothingBehind)
{
    TestFolder folder;
    const QString good = folder.write("good.wav", SoundFiles::pcmWav(480));
    const QString text = folder.write("notes.wav", "just text");
    const QString fifo = folder.filePath("pipe.wav");
    ::mkfifo(QFile::encodeName(fifo).constData(), 0600);
    // Chosen through a dialog, a name whose bytes are not UTF-8 arrives decoded with U+FFFD.
    const QByteArray latin1Name = QFile::encodeName(folder.path()) + "/caf\xE9.wav";
    QFile latin1(QFile::decodeName(latin1Name));
    const int latin1Fd = ::open(latin1Name.constData(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(latin1Fd, 0);
    ::close(latin1Fd);
    QStringList tooMany;
    for (int i = 0; i < 257; ++i)
        tooMany.append(good);

    struct Case {
        const char *name;
        QStringList files;
        int code;
        const char *message;
    };
    const Case cases[] = {
        {"nothing chosen", {}, AudioImportError::noFiles, "Choose at least one audio file."},
        {"257 files", tooMany, AudioImportError::tooManyFiles,
         "A reaction pack holds at most 256 sounds. Choose fewer files."},
        {"missing", {good, folder.filePath("gone.wav")}, AudioImportError::missingFile, "“gone.wav” couldn’t be found. Choose the files again."},
        {"name not UTF-8", {good, latin1.fileName()}, AudioImportError::undecodableName,
         "“caf\uFFFD.wav” has a name that isn’t valid UTF-8 text. Rename the file and choose it again."},
        {"FIFO", {fifo}, AudioImportError::unreadableFile,
         "“pipe.wav” can’t be read. Choose a plain audio file that is yours."},
        {"not audio", {good, text}, AudioImportError::undecodable,
         "“notes.wav” isn’t a sound Plinkly can play. Use WAV, AIFF, FLAC, OGG or MP3 files of at most 30 seconds, "
         "mono or stereo, at 8–192 kHz."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString library = folder.filePath(QStringLiteral("library-%1").arg(c.code));
        auto result = AudioFilesImporter::importFiles(c.files, library, nullptr);
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error().domain, "Knockwell.AudioImport");
        EXPECT_EQ(result.error().code, c.code);
        EXPECT_EQ(result.error().message, QString::fromUtf8(c.message));
        EXPECT_TRUE(PackFixtures::everythingIn(library).isEmpty());
    }
}

TEST(AudioFilesImporter, NamesThePackAfterTheFirstFile)
{
    EXPECT_EQ(AudioFilesImporter::packName({"/x/Bonk.wav"}), "Bonk");
    EXPECT_EQ(AudioFilesImporter::packName({"/x/.wav"}), "Imported Sounds");
    EXPECT_EQ(AudioFilesImporter::packName({"/x/" + QString(300, 'a') + ".wav", "/y/b.wav"}),
              QString(200, 'a') + " + 1 more");
}

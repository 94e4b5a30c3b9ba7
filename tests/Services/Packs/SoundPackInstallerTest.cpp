#include "Services/Packs/ImportProgress.h"
#include "Services/Packs/PackFixtures.h"
#include "Services/Packs/PackImportErrors.h"
#include "Services/Packs/SoundPackInstaller.h"
#include "Services/Packs/SoundPackLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <latch>
#include <thread>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

using PackKind = SoundPackManifest::PackKind;

namespace {

struct Refusal {
    QString domain;
    int code;
};

void expectRefused(const Result<LoadedSoundPack> &result, const Refusal &refusal)
{
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().domain, refusal.domain) << result.error().message.toStdString();
    EXPECT_EQ(result.error().code, refusal.code) << result.error().message.toStdString();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

}

TEST(SoundPackInstaller, InstallsAStudioExportWithOnlyTheListedFiles)
{
    TestFolder folder;
    const SoundPackManifest manifest = PackFixtures::studioManifest("studio-0a1b", PackKind::keyboard, 5);
    const QString source = PackFixtures::writePack(folder.filePath("export"), manifest);
    folder.write("export/notes.txt", "not a sample");
    folder.write("export/samples/unlisted.wav", SoundFiles::floatWav(100));
    const QString root = folder.filePath("library/Keyboard Packs");

    auto installed = SoundPackInstaller::installFolder(source, root, PackKind::keyboard, nullptr);
    ASSERT_TRUE(installed) << installed.error().message.toStdString();
    EXPECT_EQ(installed->manifest, manifest);
    EXPECT_EQ(installed->directory, QDir(root).filePath("studio-0a1b"));
    EXPECT_EQ(PackFixtures::everythingIn(root), QStringList{"studio-0a1b"});
    EXPECT_EQ(PackFixtures::everythingIn(installed->directory), (QStringList{"manifest.json", "samples"}));
    QStringList samples = PackFixtures::everythingIn(installed->directory + "/samples");
    samples.sort();
    EXPECT_EQ(samples, (QStringList{"0.wav", "1.wav", "2.wav", "3.wav", "4.wav"}));

    // The copy stands on its own.
    QDir(source).removeRecursively();
    auto listed = SoundPackLibrary::load(root, PackKind::keyboard);
    ASSERT_TRUE(listed);
    ASSERT_EQ(listed->size(), 1);
    EXPECT_EQ(listed->first(), *installed);
}

TEST(SoundPackInstaller, RefusesADuplicateIdentityWhateverItsFolderIsCalled)
{
    TestFolder folder;
    const QString root = folder.filePath("library");
    const SoundPackManifest manifest = PackFixtures::studioManifest("same-id", PackKind::reaction);
    PackFixtures::writePack(QDir(root).filePath("renamed by hand"), manifest);
    const QString source = PackFixtures::writePack(folder.filePath("source"), manifest);

    auto second = SoundPackInstaller::installFolder(source, root, PackKind::reaction, nullptr);
    expectRefused(second, {PackImportError::domain, PackImportError::duplicateIdentity});
    EXPECT_EQ(second.error().message,
              "A pack with this ID is already installed. Duplicate it with a new ID in Pack Studio.");
    EXPECT_EQ(PackFixtures::everythingIn(root), QStringList{"renamed by hand"});
}

TEST(SoundPackInstaller, InstallsAtTheSameTimeAddAnIdentityOnce)
{
    constexpr int installs = 4;
    for (int round = 0; round < 5; ++round) {
        TestFolder folder;
        const QString root = folder.filePath("library");
        QDir().mkpath(root);
        const QString source = PackFixtures::writePack(folder.filePath("source"),
                                                       PackFixtures::studioManifest("same-id", PackKind::keyboard, 8));
        std::latch start(installs);
        std::vector<Result<LoadedSoundPack>> results(installs);
        std::vector<std::thread> threads;
        for (int i = 0; i < installs; ++i) {
            threads.emplace_back([&, i] {
                start.arrive_and_wait();
                results[i] = SoundPackInstaller::installFolder(source, root, PackKind::keyboard, nullptr);
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        const auto succeeded = std::count_if(results.begin(), results.end(), [](const auto &r) { return bool(r); });
        EXPECT_EQ(succeeded, 1) << "round " << round;
        for (const auto &result : results) {
            if (!result) {
                EXPECT_EQ(result.error().code, PackImportError::duplicateIdentity) << result.error().message.toStdString();
            }
        }
        EXPECT_EQ(PackFixtures::everythingIn(root), QStringList{"same-id"});
    }
}

TEST(SoundPackInstaller, GivesAnotherFolderNameWhenTheNameIsTaken)
{
    TestFolder folder;
    const QString root = folder.filePath("library");
    folder.write("library/my-pack/readme.txt", "someone else's folder");
    const QString source = PackFixtures::writePack(folder.filePath("source"),
                                                   PackFixtures::studioManifest("my-pack", PackKind::keyboard));
    auto installed = SoundPackInstaller::installFolder(source, root, PackKind::keyboard, nullptr);
    ASSERT_TRUE(installed);
    EXPECT_EQ(QFileInfo(installed->directory).fileName(), "my-pack-2");
    EXPECT_EQ(PackFixtures::everythingIn(folder.filePath("library/my-pack")), QStringList{"readme.txt"});
}

TEST(SoundPackInstaller, FolderNamesNeverEscapeTheLibrary)
{
    EXPECT_EQ(SoundPackInstaller::folderName("../../etc"), "-..-etc");
    EXPECT_EQ(SoundPackInstaller::folderName("..."), "pack");
    EXPECT_EQ(SoundPackInstaller::folderName("Grüße/x"), "Gr--e-x");
    EXPECT_EQ(SoundPackInstaller::folderName(QString(300, 'a')).size(), 100);
}

TEST(SoundPackInstaller, RefusesHostileAndBrokenFoldersLeavingNothingBehind)
{
    const bool root = ::getuid() == 0;
    struct Case {
        const char *name;
        std::function<void(const QString &source, const QString &outside)> setUp;
        Refusal refusal;
        PackKind kind = PackKind::keyboard;
    };
    const Case cases[] = {
        {"no manifest", [](const QString &s, const QString &) { QFile::remove(s + "/manifest.json"); },
         {PackImportError::domain, PackImportError::noManifest}},
        {"manifest over 1 MiB", [](const QString &s, const QString &) {
             QByteArray json = PackFixtures::studioManifest("p", PackKind::keyboard).toJson();
             json.insert(1, QByteArray(1024 * 1024, ' '));
             writeBytes(s + "/manifest.json", json);
         }, {PackImportError::domain, PackImportError::manifestTooLarge}},
        {"manifest is a link", [](const QString &s, const QString &outside) {
             QFile::rename(s + "/manifest.json", outside + "/manifest.json");
             QFile::link(outside + "/manifest.json", s + "/manifest.json");
         }, {PackImportError::domain, PackImportError::notPlainFile}},
        {"not json", [](const QString &s, const QString &) { writeBytes(s + "/manifest.json", "{oops"); },
         {"Knockwell.SoundPack", 2}},
        {"invalid manifest", [](const QString &s, const QString &) {
             auto m = PackFixtures::studioManifest("p", PackKind::keyboard);
             m.groups[KeyGroup::space].down.append("../../outside.wav");
             writeBytes(s + "/manifest.json", m.toJson());
         }, {"Knockwell.SoundPack", 1}},
        {"newer format", [](const QString &s, const QString &) {
             auto m = PackFixtures::studioManifest("p", PackKind::keyboard);
             (*m.metadata)["formatVersion"] = "2";
             writeBytes(s + "/manifest.json", m.toJson());
         }, {"Knockwell.SoundPack", 1}},
        {"reaction pack as keyboard", [](const QString &s, const QString &) {
             writeBytes(s + "/manifest.json", PackFixtures::studioManifest("p", PackKind::reaction).toJson());
         }, {PackImportError::domain, PackImportError::expectedKeyboardPack}},
        {"keyboard pack as reaction", [](const QString &, const QString &) {},
         {PackImportError::domain, PackImportError::expectedReactionPack}, PackKind::reaction},
        {"missing sample", [](const QString &s, const QString &) { QFile::remove(s + "/samples/1.wav"); },
         {PackImportError::domain, PackImportError::missingFile}},
        {"sample is a link", [](const QString &s, const QString &outside) {
             QFile::remove(s + "/samples/1.wav");
             writeBytes(outside + "/private.wav", SoundFiles::floatWav(100));
             QFile::link(outside + "/private.wav", s + "/samples/1.wav");
         }, {PackImportError::domain, PackImportError::notPlainFile}},
        {"samples folder is a link", [](const QString &s, const QString &outside) {
             QDir(s + "/samples").removeRecursively();
             PackFixtures::writePack(outside + "/elsewhere", PackFixtures::studioManifest("p", PackKind::keyboard));
             QFile::link(outside + "/elsewhere/samples", s + "/samples");
         }, {PackImportError::domain, PackImportError::notPlainFile}},
        {"sample is a FIFO", [](const QString &s, const QString &) {
             QFile::remove(s + "/samples/1.wav");
             ::mkfifo(QFile::encodeName(s + "/samples/1.wav").constData(), 0600);
         }, {PackImportError::domain, PackImportError::notPlainFile}},
        {"sample is a folder", [](const QString &s, const QString &) {
             QFile::remove(s + "/samples/1.wav");
             QDir().mkpath(s + "/samples/1.wav");
         }, {PackImportError::domain, PackImportError::notPlainFile}},
        {"sample over 48 MiB", [](const QString &s, const QString &) {
             QFile file(s + "/samples/1.wav");
             file.open(QIODevice::ReadWrite);
             file.resize(48 * 1024 * 1024 + 1);
         }, {PackImportError::domain, PackImportError::fileTooLarge}},
        {"sample name over 255 bytes", [](const QString &s, const QString &) {
             auto m = PackFixtures::studioManifest("p", PackKind::keyboard);
             m.groups[KeyGroup::space].down.append("samples/" + QString(256, 'n') + ".wav");
             writeBytes(s + "/manifest.json", m.toJson());
         }, {PackImportError::domain, PackImportError::nameTooLong}},
        {"a sample file used as a folder", [](const QString &s, const QString &) {
             auto m = PackFixtures::studioManifest("p", PackKind::keyboard);
             m.groups[KeyGroup::space].down.append("samples/1.wav/inner.wav");
             writeBytes(s + "/manifest.json", m.toJson());
         }, {PackImportError::domain, PackImportError::fileUsedAsFolder}},
        {"sample that is not audio", [](const QString &s, const QString &) { writeBytes(s + "/samples/1.wav", "text"); },
         {PackImportError::domain, PackImportError::undecodableSample}},
        {"sample of another user", [root](const QString &s, const QString &) {
             if (root) {
                 EXPECT_EQ(::chown(QFile::encodeName(s + "/samples/1.wav").constData(), 4242, 4242), 0);
             }
         }, root ? Refusal{PackImportError::domain, PackImportError::unreadableFile} : Refusal{}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.refusal.domain.isEmpty())
            continue;
        TestFolder folder;
        const QString source =
            PackFixtures::writePack(folder.filePath("source"), PackFixtures::studioManifest("p", PackKind::keyboard));
        const QString outside = folder.makeDir("outside");
        c.setUp(source, outside);
        const QString library = folder.filePath("library");
        expectRefused(SoundPackInstaller::installFolder(source, library, c.kind, nullptr), c.refusal);
        EXPECT_TRUE(PackFixtures::everythingIn(library).isEmpty());
    }
}

TEST(SoundPackInstaller, CountsThePackTotalAgainstItsLimit)
{
    // Six distinct paths to one 44 MiB recording: each file fits, together they exceed 256 MiB.
    TestFolder folder;
    SoundPackManifest manifest = PackFixtures::studioManifest("big", PackKind::reaction, 0);
    const QString source = folder.makeDir("source");
    const QString recording = folder.write("source/samples/0.wav", SoundFiles::floatWav(192000 * 30, 192000, 2));
    for (int i = 0; i < 6; ++i) {
        const QString path = QStringLiteral("samples/%1.wav").arg(i);
        manifest.groups[KeyGroup::reaction].down.append(path);
        if (i > 0) {
            ASSERT_EQ(::link(QFile::encodeName(recording).constData(), QFile::encodeName(source + "/" + path).constData()), 0);
        }
    }
    folder.write("source/manifest.json", manifest.toJson());
    const QString library = folder.filePath("library");
    expectRefused(SoundPackInstaller::installFolder(source, library, PackKind::reaction, nullptr),
                  {PackImportError::domain, PackImportError::packTooLarge});
    EXPECT_TRUE(PackFixtures::everythingIn(library).isEmpty());
}

TEST(SoundPackInstaller, CancelledInstallLeavesNothing)
{
    TestFolder folder;
    const QString source =
        PackFixtures::writePack(folder.filePath("source"), PackFixtures::studioManifest("p", PackKind::keyboard));
    ImportProgress progress;
    progress.cancel();
    const QString library = folder.makeDir("library");
    expectRefused(SoundPackInstaller::installFolder(source, library, PackKind::keyboard, &progress),
                  {PackImportError::domain, PackImportError::cancelled});
    EXPECT_TRUE(PackFixtures::everythingIn(library).isEmpty());
}

#include "Services/Packs/ImportProgress.h"
#include "Services/Packs/PackFixtures.h"
#include "Services/Packs/PackImportErrors.h"
#include "Services/Packs/ZipArchive.h"
#include "Services/Packs/ZipPackImporter.h"

#include <gtest/gtest.h>

#include <functional>

using PackKind = SoundPackManifest::PackKind;
using PackFixtures::ZipBuilder;

namespace {

// Replaces every occurrence of `from` in the file, for archives whose headers must lie.
void patch(const QString &path, const QByteArray &from, const QByteArray &to)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QByteArray bytes = file.readAll();
    file.close();
    ASSERT_TRUE(bytes.contains(from));
    bytes.replace(from, to);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

QByteArray littleEndian32(quint32 value)
{
    QByteArray bytes(4, 0);
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((value >> (8 * i)) & 0xFF);
    return bytes;
}

struct Packed {
    TestFolder folder;
    SoundPackManifest manifest = PackFixtures::studioManifest("zipped", PackKind::keyboard, 4);
    QString source = PackFixtures::writePack(folder.filePath("source"), manifest);
    QString archive = folder.filePath("pack.zip");
    QString library = folder.filePath("library");
};

}

TEST(ZipPackImporter, InstallsAPackAtTheTopOrInItsSingleFolder)
{
    for (const QString prefix : {QString(), QStringLiteral("My Pack/")}) {
        SCOPED_TRACE(prefix.toStdString());
        Packed packed;
        {
            ZipBuilder zip(packed.archive);
            if (!prefix.isEmpty())
                zip.addDirectory(prefix);
            zip.addFolder(packed.source, prefix);
            zip.addFile("__MACOSX/" + prefix + "._manifest.json", "resource fork");
            zip.addFile(prefix + ".DS_Store", "finder");
            zip.addFile(prefix + "samples/.DS_Store", "finder");
            ASSERT_TRUE(zip.close());
        }
        auto installed = ZipPackImporter::importArchive(packed.archive, packed.library, PackKind::keyboard, nullptr);
        ASSERT_TRUE(installed) << installed.error().message.toStdString();
        EXPECT_EQ(installed->manifest, packed.manifest);
        EXPECT_EQ(PackFixtures::everythingIn(packed.library), QStringList{"zipped"});
        EXPECT_EQ(PackFixtures::everythingIn(installed->directory + "/samples").size(), 4);
    }
}

TEST(ZipPackImporter, RefusesHostileArchivesLeavingNothingBehind)
{
    struct Case {
        const char *name;
        std::function<void(ZipBuilder &, const Packed &)> build;
        QString domain;
        int code;
        std::function<void(const Packed &)> afterwards = {};
    };
    const auto zipError = ZipImportError::domain;
    const auto packError = PackImportError::domain;
    const Case cases[] = {
        {"parent traversal", [](ZipBuilder &z, const Packed &p) {
             z.addFolder(p.source, "");
             z.addFile("../escaped.wav", "x");
         }, zipError, ZipImportError::unsafePath},
        {"traversal inside", [](ZipBuilder &z, const Packed &p) {
             z.addFolder(p.source, "");
             z.addFile("samples/../../escaped.wav", "x");
         }, zipError, ZipImportError::unsafePath},
        {"absolute path", [](ZipBuilder &z, const Packed &p) {
             z.addFolder(p.source, "");
             z.addFile("/tmp/escaped.wav", "x");
         }, zipError, ZipImportError::unsafePath},
        {"backslash", [](ZipBuilder &z, const Packed &p) {
             z.addFolder(p.source, "");
             z.addFile("samples\\..\\escaped.wav", "x");
         }, zipError, ZipImportError::unsafePath},
        {"colon", [](ZipBuilder &z, const Packed &p) {
             z.addFolder(p.source, "");
             z.addFile("C:escaped.wav", "x");
         }, zipError, ZipImportError::unsafePath},
        {"traversal hidden in __MACOSX", [](ZipBuilder &z, const Packed &p) {
             z.addFolder(p.source, "");
             z.addFile("__MACOSX/../../escaped", "x");
         }, zipError, ZipImportError::unsafePath},
        {"symbolic link", [](ZipBuilder &z, const Packed &p) {
             z.addFolder(p.source, "");
             z.addSpecial("samples/link.wav", S_IFLNK, "/etc/passwd");
         }, zipError, ZipImportError::linkOrSpecialFile},
        {"device", [](ZipBuilder &z, const Packed &p) {
             z.addFolder(p.source, "");
             z.addSpecial("samples/device", S_IFCHR);
         }, zipError, ZipImportError::linkOrSpecialFile},
        {"encrypted", [](ZipBuilder &z, const Packed &p) {
             z.addFolder(p.source, "");
             ASSERT_TRUE(z.encrypt(z.addFile("samples/secret.wav", SoundFiles::floatWav(100)), "password"));
         }, zipError, ZipImportError::encrypted},
        {"too many entries", [](ZipBuilder &z, const Packed &p) {
             z.addFolder(p.source, "");
             for (int i = 0; i < 1024; ++i)
                 z.addFile(QStringLiteral("filler/%1").arg(i), "");
         }, zipError, ZipImportError::tooManyEntries},
        {"sample over 48 MiB", [](ZipBuilder &z, const Packed &p) {
             z.addFile("manifest.json", p.manifest.toJson());
             for (const QString &path : PackFixtures::listedPaths(p.manifest))
                 z.addFile(path, QByteArray(48 * 1024 * 1024 + 1, '\0'));
         }, zipError, ZipImportError::entryTooLarge},
        {"unpacks past 256 MiB", [](ZipBuilder &z, const Packed &) {
             SoundPackManifest m = PackFixtures::studioManifest("zipped", PackKind::keyboard, 6);
             z.addFile("manifest.json", m.toJson());
             const QByteArray silence(44 * 1024 * 1024, '\0');
             for (const QString &path : PackFixtures::listedPaths(m))
                 z.addFile(path, silence);
         }, zipError, ZipImportError::expandsTooMuch},
        {"no manifest", [](ZipBuilder &z, const Packed &) { z.addFile("samples/0.wav", SoundFiles::floatWav(10)); },
         zipError, ZipImportError::noPack},
        {"two top folders", [](ZipBuilder &z, const Packed &p) {
             z.addFolder(p.source, "one/");
             z.addFolder(p.source, "two/");
         }, zipError, ZipImportError::noPack},
        {"manifest two folders down", [](ZipBuilder &z, const Packed &p) { z.addFolder(p.source, "one/two/"); },
         zipError, ZipImportError::noPack},
        {"wrong kind", [](ZipBuilder &z, const Packed &) {
             z.addFile("manifest.json", PackFixtures::studioManifest("r", PackKind::reaction).toJson());
         }, packError, PackImportError::expectedKeyboardPack},
        {"listed sample absent", [](ZipBuilder &z, const Packed &p) { z.addFile("manifest.json", p.manifest.toJson()); },
         packError, PackImportError::missingFile},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Packed packed;
        {
            ZipBuilder zip(packed.archive);
            c.build(zip, packed);
            ASSERT_TRUE(zip.close());
        }
        auto result = ZipPackImporter::importArchive(packed.archive, packed.library, PackKind::keyboard, nullptr);
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error().domain, c.domain) << result.error().message.toStdString();
        EXPECT_EQ(result.error().code, c.code) << result.error().message.toStdString();
        EXPECT_TRUE(PackFixtures::everythingIn(packed.library).isEmpty());
    }
}

TEST(ZipPackImporter, OversizedManifestIsRefused)
{
    Packed packed;
    QByteArray json = packed.manifest.toJson();
    json.insert(1, QByteArray(1024 * 1024, ' '));
    {
        ZipBuilder zip(packed.archive);
        zip.addFile("manifest.json", json);
        ASSERT_TRUE(zip.close());
    }
    auto result = ZipPackImporter::importArchive(packed.archive, packed.library, PackKind::keyboard, nullptr);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().domain, PackImportError::domain);
    EXPECT_EQ(result.error().code, PackImportError::manifestTooLarge);
}

TEST(ZipPackImporter, NeverTrustsDeclaredSizesOrChecksums)
{
    const QByteArray marker = "MARKER-" + QByteArray(4000, 'm');
    struct Case {
        const char *name;
        ZipBuilder::Compression compression;
        std::function<void(const QString &archive)> corrupt;
        int code;
    };
    const Case cases[] = {
        {"flipped stored byte", ZipBuilder::Compression::store,
         [&](const QString &archive) { patch(archive, "MARKER-", "MARKEX-"); }, ZipImportError::damagedEntry},
        // A small declared size in front of a large deflated stream: output beyond it is refused.
        {"understated size", ZipBuilder::Compression::deflate,
         [&](const QString &archive) { patch(archive, littleEndian32(quint32(marker.size())), littleEndian32(100)); },
         ZipImportError::damagedEntry},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Packed packed;
        {
            ZipBuilder zip(packed.archive);
            zip.addFile("manifest.json", packed.manifest.toJson());
            for (const QString &path : PackFixtures::listedPaths(packed.manifest))
                zip.addFile(path, path == "samples/0.wav" ? marker : SoundFiles::floatWav(100), c.compression);
            ASSERT_TRUE(zip.close());
        }
        c.corrupt(packed.archive);
        auto result = ZipPackImporter::importArchive(packed.archive, packed.library, PackKind::keyboard, nullptr);
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error().domain, ZipImportError::domain) << result.error().message.toStdString();
        EXPECT_EQ(result.error().code, c.code) << result.error().message.toStdString();
        EXPECT_TRUE(PackFixtures::everythingIn(packed.library).isEmpty());
    }
}

TEST(ZipPackImporter, RefusesWhatIsNotAnArchive)
{
    Packed packed;
    packed.folder.write("pack.zip", "PK\x03\x04 but nothing else");
    auto garbage = ZipPackImporter::importArchive(packed.archive, packed.library, PackKind::keyboard, nullptr);
    ASSERT_FALSE(garbage);
    EXPECT_EQ(garbage.error().code, ZipImportError::unreadableArchive);

    auto missing = ZipPackImporter::importArchive(packed.folder.filePath("absent.zip"), packed.library,
                                                  PackKind::keyboard, nullptr);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ZipImportError::unreadableArchive);
    EXPECT_TRUE(PackFixtures::everythingIn(packed.library).isEmpty());
}

TEST(ZipPackImporter, FollowsTheUsersLinkToTheChosenArchive)
{
    Packed packed;
    {
        ZipBuilder zip(packed.archive);
        zip.addFolder(packed.source, "");
        ASSERT_TRUE(zip.close());
    }
    QFile::link(packed.archive, packed.folder.filePath("link.zip"));
    EXPECT_TRUE(ZipPackImporter::importArchive(packed.folder.filePath("link.zip"), packed.library, PackKind::keyboard,
                                               nullptr));
}

TEST(ZipPackImporter, CancelledImportLeavesNothing)
{
    Packed packed;
    {
        ZipBuilder zip(packed.archive);
        zip.addFolder(packed.source, "");
        ASSERT_TRUE(zip.close());
    }
    ImportProgress progress;
    progress.cancel();
    auto result = ZipPackImporter::importArchive(packed.archive, packed.library, PackKind::keyboard, &progress);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().code, PackImportError::cancelled);
    EXPECT_TRUE(PackFixtures::everythingIn(packed.library).isEmpty());
}

TEST(ZipArchive, ComputesTheStandardCrc32)
{
    EXPECT_EQ(ZipArchive::crc32(0, "123456789"), 0xCBF43926u);
    EXPECT_EQ(ZipArchive::crc32(ZipArchive::crc32(0, "1234"), "56789"), 0xCBF43926u);
}

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
    for (const QString &prefix : {QString(), QStringLiteral("My Pack/")}) {
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

TEST(ZipPackImporter, NamesItCannotUseAreReportedAsSuch)
{
    const auto withSample = [](const QString &path) {
        SoundPackManifest m = PackFixtures::studioManifest("zipped", PackKind::keyboard, 1);
        m.groups[KeyGroup::space].down.append(path);
        return m;
    };
    const QString longName = "samples/" + QString(256, 'n') + ".wav";
    struct Case {
        const char *name;
        SoundPackManifest manifest;
        QStringList extraFiles;
        // Applied to the written archive: bytes replaced, and whether names are then flagged UTF-8.
        QByteArray from, to;
        bool flagUtf8 = false;
        Error expected;
    };
    const Case cases[] = {
        {"two entries with one name", withSample("samples/1.wav"), {"samples/1.wav", "samples/2.wav"},
         "samples/2.wav", "samples/1.wav", false, ZipImportError::make(ZipImportError::duplicateEntry)},
        {"a name that is not UTF-8", withSample("samples/1.wav"), {"samples/1.wav", "samples/X.wav"}, "samples/X.wav",
         "samples/\xFF.wav", true, ZipImportError::make(ZipImportError::undecodableName)},
        {"a sample name over 255 bytes", withSample(longName), {longName}, {}, {}, false,
         PackImportError::make(PackImportError::nameTooLong, longName)},
        {"a sample file used as a folder", withSample("samples/0.wav/inner.wav"), {"samples/0.wav/inner.wav"}, {}, {},
         false, PackImportError::make(PackImportError::fileUsedAsFolder, "samples/0.wav/inner.wav")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Packed packed;
        {
            ZipBuilder zip(packed.archive);
            zip.addFile("manifest.json", c.manifest.toJson());
            for (const QString &path : PackFixtures::listedPaths(PackFixtures::studioManifest("zipped", PackKind::keyboard, 1)))
                zip.addFile(path, SoundFiles::floatWav(100));
            for (const QString &path : c.extraFiles)
                zip.addFile(path, SoundFiles::floatWav(100));
            ASSERT_TRUE(zip.close());
        }
        if (!c.from.isEmpty())
            patch(packed.archive, c.from, c.to);
        if (c.flagUtf8) {
            // Bit 11 of the flags of every local (offset 6) and central (offset 8) header.
            QFile file(packed.archive);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            QByteArray bytes = file.readAll();
            for (const auto &[signature, offset] : {std::pair{QByteArray("PK\x03\x04"), 6}, std::pair{QByteArray("PK\x01\x02"), 8}}) {
                for (qsizetype at = bytes.indexOf(signature); at >= 0; at = bytes.indexOf(signature, at + 1))
                    bytes[at + offset + 1] = char(bytes[at + offset + 1] | 0x08);
            }
            file.seek(0);
            file.write(bytes);
        }
        auto result = ZipPackImporter::importArchive(packed.archive, packed.library, PackKind::keyboard, nullptr);
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error(), c.expected) << result.error().message.toStdString();
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

#include "Services/Packs/ImportProgress.h"
#include "Services/Packs/PackFixtures.h"
#include "Services/Packs/PackImportErrors.h"
#include "Services/Packs/SoundPackManager.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using PackKind = SoundPackManifest::PackKind;

namespace {

// Prepares the library and waits until the bundled packs are copied in.
bool prepared(SoundPackManager &manager)
{
    QSignalSpy done(&manager, &SoundPackManager::libraryPrepared);
    if (!manager.prepareLibrary())
        return false;
    return !done.isEmpty() || done.wait(30000);
}

QStringList ids(const QList<LoadedSoundPack> &packs)
{
    QStringList list;
    for (const LoadedSoundPack &pack : packs)
        list.append(pack.id());
    return list;
}

SoundPackManifest named(SoundPackManifest manifest, const QString &name)
{
    manifest.name = name;
    return manifest;
}

struct Library {
    TestFolder folder;
    QString bundle = folder.makeDir("KnockwellResources");
    SoundPackManager manager{folder.filePath("data/Knockwell"), bundle};

    QSignalSpy finished{&manager, &SoundPackManager::importFinished};
    qsizetype imports = 0;

    void waitForImport()
    {
        ++imports;
        while (finished.count() < imports)
            ASSERT_TRUE(finished.wait(60000));
        EXPECT_EQ(finished.count(), imports);
    }
};

}

TEST(SoundPackManager, PreparesTheLibraryFromTheBundleWithoutReplacingUserPacks)
{
    Library library;
    PackFixtures::writePack(library.bundle + "/KeyboardPacks/cherry",
                            named(PackFixtures::studioManifest("recorded-cherry", PackKind::keyboard), "Classic"));
    PackFixtures::writePack(library.bundle + "/KeyboardPacks/thock",
                            named(PackFixtures::studioManifest("cream-thock", PackKind::keyboard), "Thock"));
    PackFixtures::writePack(library.bundle + "/ReactionPacks/ouch",
                            PackFixtures::studioManifest("silly-ouchies", PackKind::reaction));
    // The user's own pack that happens to use a bundled identifier stays as it is.
    PackFixtures::writePack(library.manager.keyboardRoot() + "/mine",
                            named(PackFixtures::studioManifest("cream-thock", PackKind::keyboard), "My Thock"));
    library.folder.makeDir("data/Knockwell/Reaction Packs/.import-LEFTOVER/samples");

    QSignalSpy done(&library.manager, &SoundPackManager::libraryPrepared);
    ASSERT_TRUE(library.manager.prepareLibrary());
    // Listed at once, whether or not the copy is in place yet.
    EXPECT_EQ(ids(library.manager.keyboardPacks()), (QStringList{"recorded-cherry", "cream-thock"}));
    EXPECT_EQ(library.manager.pack("cream-thock", PackKind::keyboard)->manifest.name, "My Thock");
    ASSERT_TRUE(!done.isEmpty() || done.wait(30000));
    EXPECT_EQ(ids(library.manager.keyboardPacks()), (QStringList{"recorded-cherry", "cream-thock"}));
    EXPECT_TRUE(library.manager.pack("recorded-cherry", PackKind::keyboard)->directory.startsWith(
        library.manager.keyboardRoot()));
    EXPECT_EQ(ids(library.manager.reactionPacks()), QStringList{"silly-ouchies"});
    EXPECT_EQ(PackFixtures::everythingIn(library.manager.reactionRoot()), QStringList{"silly-ouchies"});
    EXPECT_FALSE(library.manager.pack("silly-ouchies", PackKind::keyboard));

    ASSERT_TRUE(prepared(library.manager));
    EXPECT_EQ(PackFixtures::everythingIn(library.manager.keyboardRoot()).size(), 2);
    EXPECT_EQ(QFileInfo(library.manager.keyboardRoot()).dir().path(), library.manager.libraryRoot());
}

TEST(SoundPackManager, ADamagedPackNeverHidesTheOthers)
{
    TestFolder folder;
    const QString root = folder.makeDir("Keyboard Packs");
    PackFixtures::writePack(root + "/b", named(PackFixtures::studioManifest("b", PackKind::keyboard), "beta"));
    PackFixtures::writePack(root + "/a", named(PackFixtures::studioManifest("a", PackKind::keyboard), "Alpha"));
    PackFixtures::writePack(root + "/copy-of-a", named(PackFixtures::studioManifest("a", PackKind::keyboard), "Again"));
    PackFixtures::writePack(root + "/reaction", PackFixtures::studioManifest("r", PackKind::reaction));
    PackFixtures::writePack(root + "/.hidden", PackFixtures::studioManifest("h", PackKind::keyboard));
    PackFixtures::writePack(folder.filePath("elsewhere"), PackFixtures::studioManifest("linked", PackKind::keyboard));
    QFile::link(folder.filePath("elsewhere"), root + "/linked");
    folder.write("Keyboard Packs/broken-json/manifest.json", "{");
    folder.write("Keyboard Packs/invalid/manifest.json", PackFixtures::studioManifest("", PackKind::keyboard).toJson());
    folder.makeDir("Keyboard Packs/empty");
    folder.write("Keyboard Packs/stray-file.txt", "x");

    auto packs = SoundPackManager::load(root, PackKind::keyboard);
    ASSERT_TRUE(packs);
    EXPECT_EQ(ids(*packs), (QStringList{"a", "b"}));
    EXPECT_EQ(packs->first().manifest.name, "Alpha");

    auto missing = SoundPackManager::load(folder.filePath("absent"), PackKind::keyboard);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().domain, "NSCocoaErrorDomain");
    EXPECT_EQ(missing.error().code, CocoaError::fileReadNoSuchFile);
}

TEST(SoundPackManager, ImportsChosenItemsAndPublishesTheOutcome)
{
    Library library;
    ASSERT_TRUE(library.manager.prepareLibrary());
    const QString folderPack = PackFixtures::writePack(library.folder.filePath("chosen/folder"),
                                                       PackFixtures::studioManifest("from-folder", PackKind::reaction));
    const QString zipSource = PackFixtures::writePack(library.folder.filePath("chosen/zip-source"),
                                                      PackFixtures::studioManifest("from-zip", PackKind::reaction));
    const QString archive = library.folder.filePath("chosen/pack.ZIP");
    {
        PackFixtures::ZipBuilder zip(archive);
        zip.addFolder(zipSource, "");
        ASSERT_TRUE(zip.close());
    }
    const QString audio1 = library.folder.write("chosen/yelp.wav", SoundFiles::pcmWav(480));
    const QString audio2 = library.folder.write("chosen/bonk.wav", SoundFiles::pcmWav(480));

    QSignalSpy importing(&library.manager, &SoundPackManager::isImportingChanged);
    library.manager.importPaths({folderPack, audio1, archive, audio2}, PackKind::reaction);
    EXPECT_TRUE(library.manager.isImporting());
    EXPECT_TRUE(library.manager.importProgress());
    library.waitForImport();

    EXPECT_FALSE(library.manager.isImporting());
    EXPECT_FALSE(library.manager.importProgress());
    EXPECT_EQ(importing.count(), 2);
    EXPECT_EQ(library.manager.importNotice(), "Installed 3 packs.");
    EXPECT_FALSE(library.manager.lastError());
    ASSERT_EQ(library.manager.reactionPacks().size(), 3);
    EXPECT_TRUE(library.manager.pack("from-folder", PackKind::reaction));
    EXPECT_TRUE(library.manager.pack("from-zip", PackKind::reaction));
    EXPECT_EQ(library.manager.reactionPacks().first().manifest.name, "Studio from-folder");
    EXPECT_EQ(library.manager.reactionPacks().last().manifest.name, "yelp + 1 more");

    const QString keyboard = PackFixtures::writePack(library.folder.filePath("chosen/keys"),
                                                     named(PackFixtures::studioManifest("keys", PackKind::keyboard), "Keys"));
    library.manager.importPaths({keyboard}, PackKind::keyboard);
    library.waitForImport();
    EXPECT_EQ(library.manager.importNotice(), "Installed “Keys”.");
    EXPECT_EQ(ids(library.manager.keyboardPacks()), QStringList{"keys"});
}

TEST(SoundPackManager, AFailedOrCancelledImportInstallsNothing)
{
    Library library;
    ASSERT_TRUE(library.manager.prepareLibrary());
    const QString good = PackFixtures::writePack(library.folder.filePath("chosen/good"),
                                                 PackFixtures::studioManifest("good", PackKind::reaction));
    const QString notAudio = library.folder.write("chosen/notes.txt", "text");

    library.manager.importPaths({good, notAudio}, PackKind::reaction);
    library.waitForImport();
    EXPECT_EQ(library.manager.lastError(), AudioImportError::make(AudioImportError::undecodable, "notes.txt").message);
    EXPECT_FALSE(library.manager.importNotice());
    EXPECT_TRUE(library.manager.reactionPacks().isEmpty());
    EXPECT_TRUE(PackFixtures::everythingIn(library.manager.reactionRoot()).isEmpty());

    library.manager.setLastError(std::nullopt);
    library.manager.importPaths({good}, PackKind::reaction);
    library.manager.importProgress()->cancel();
    library.waitForImport();
    EXPECT_EQ(library.manager.importNotice(), "Import cancelled. Nothing was installed.");
    EXPECT_FALSE(library.manager.lastError());
    EXPECT_TRUE(PackFixtures::everythingIn(library.manager.reactionRoot()).isEmpty());
}

TEST(SoundPackManager, KeyboardImportTakesOnePackAndOneImportRunsAtATime)
{
    Library library;
    ASSERT_TRUE(library.manager.prepareLibrary());
    const QString audio = library.folder.write("chosen/a.wav", SoundFiles::pcmWav(480));
    library.manager.importPaths({audio}, PackKind::keyboard);
    EXPECT_FALSE(library.manager.isImporting());
    EXPECT_EQ(library.manager.lastError(), "Choose one sound-pack folder or ZIP archive.");

    const QString first = PackFixtures::writePack(library.folder.filePath("chosen/one"),
                                                  PackFixtures::studioManifest("one", PackKind::keyboard));
    const QString second = PackFixtures::writePack(library.folder.filePath("chosen/two"),
                                                   PackFixtures::studioManifest("two", PackKind::keyboard));
    library.manager.importPaths({first}, PackKind::keyboard);
    library.manager.importPaths({second}, PackKind::keyboard);
    library.waitForImport();
    EXPECT_EQ(ids(library.manager.keyboardPacks()), QStringList{"one"});
}

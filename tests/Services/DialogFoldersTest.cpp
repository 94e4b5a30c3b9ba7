#include "App/AppController.h"
#include "Services/DialogFolders.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

TEST(DialogFolders, OpenInTheFolderUsedLastForTheKindElseHomeOrMusicNeverTheWorkingFolder)
{
    TestFolder folder;
    const QString packs = folder.makeDir(QStringLiteral("packs"));
    const QString sounds = folder.makeDir(QStringLiteral("sounds"));
    const QString savedCwd = QDir::currentPath();
    QDir::setCurrent(folder.path());
    DialogFolders folders;
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    const QString audioDefault = QDir(music).exists() ? music : QDir::homePath();
    EXPECT_EQ(folders.start(DialogFolders::Kind::packs), QDir::homePath());
    EXPECT_EQ(folders.start(DialogFolders::Kind::audio), audioDefault);

    folders.remember(DialogFolders::Kind::packs, packs);
    folders.remember(DialogFolders::Kind::audio, sounds);
    EXPECT_EQ(folders.start(DialogFolders::Kind::packs), packs);
    EXPECT_EQ(folders.start(DialogFolders::Kind::audio), sounds);
    // Each kind keeps its own folder.
    EXPECT_EQ(folders.start(DialogFolders::Kind::packFolder), QDir::homePath());

    // A folder that is gone is not offered.
    QDir(sounds).removeRecursively();
    EXPECT_EQ(folders.start(DialogFolders::Kind::audio), audioDefault);
    QDir::setCurrent(savedCwd);
}

TEST(DialogFolders, TheNextRunOpensWhereThisOneLeftOffWhileTheFolderExists)
{
    TestFolder folder;
    const QString packs = folder.makeDir(QStringLiteral("packs"));
    const QString sounds = folder.makeDir(QStringLiteral("sounds"));
    {
        AppController app(std::move(TestPlatform(folder).platform));
        app.packs().dialogFolders().remember(DialogFolders::Kind::packs, packs);
        app.packs().dialogFolders().remember(DialogFolders::Kind::audio, sounds);
    }
    QDir(sounds).removeRecursively();
    AppController again(std::move(TestPlatform(folder).platform));
    const DialogFolders &folders = again.packs().dialogFolders();
    EXPECT_EQ(folders.start(DialogFolders::Kind::packs), packs);
    EXPECT_EQ(folders.start(DialogFolders::Kind::audio), DialogFolders().start(DialogFolders::Kind::audio));
    EXPECT_EQ(folders.start(DialogFolders::Kind::packFolder), QDir::homePath());
}

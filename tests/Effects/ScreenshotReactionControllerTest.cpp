#include "Effects/ArrivalReactionController.h"
#include "Effects/EventWait.h"
#include "Effects/ScreenshotFilePolicy.h"
#include "Effects/ScreenshotReactionController.h"
#include "Platform/Linux/InotifyDirectoryWatcher.h"
#include "fakes/FakeReactionSources.h"
#include "fakes/ManualClock.h"
#include "support/TestFolders.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(ScreenshotLocation, PrefersTheDesktopsOwnFolderThenPicturesThenDesktop)
{
    TestFolder home;
    const QString pictures = home.makeDir(QStringLiteral("Pictures"));
    const QString desktop = home.makeDir(QStringLiteral("Desktop"));
    const QString shots = home.makeDir(QStringLiteral("Pictures/Screenshots"));
    const QString spectacleFolder = home.makeDir(QStringLiteral("Captures"));
    const QString spectacle6 =
        home.write(QStringLiteral("spectacle6rc"), "[ImageSave]\nimageSaveLocation=file://" + spectacleFolder.toUtf8() + "/\n");
    const QString spectacleOld =
        home.write(QStringLiteral("spectacleOldrc"), "[Save]\ndefaultSaveLocation=file://" + desktop.toUtf8() + "\n");
    const QString spectacleGone =
        home.write(QStringLiteral("spectacleGonerc"), "[ImageSave]\nimageSaveLocation=file:///no/such/place\n");
    using Folder = ScreenshotLocation::Folder;

    struct Case {
        ScreenshotLocation::Environment environment;
        std::optional<Folder> expected;
    };
    const std::vector<Case> cases{
        {{"ubuntu:GNOME", pictures, desktop, {}}, Folder{shots, true}},
        {{"KDE", pictures, desktop, spectacle6}, Folder{spectacleFolder, true}},
        {{"KDE", pictures, desktop, spectacleOld}, Folder{desktop, true}},
        {{"KDE", pictures, desktop, spectacleGone}, Folder{shots, true}},
        {{"XFCE", pictures, desktop, spectacle6}, Folder{pictures, false}},
        {{"GNOME", home.filePath("Missing"), desktop, {}}, Folder{home.filePath("Missing/Screenshots"), true}},
        {{"XFCE", home.filePath("Missing"), desktop, {}}, Folder{desktop, false}},
        {{"", home.filePath("Missing"), home.filePath("Gone"), {}}, Folder{home.filePath("Missing"), false}},
        {{"", {}, home.filePath("Gone"), {}}, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ScreenshotLocation::resolve(c.environment), c.expected) << c.environment.currentDesktop.toStdString();
}

TEST(ScreenshotLocation, ImagesCountInAScreenshotFolderAndNeedTheWordElsewhere)
{
    struct Case {
        const char *name;
        bool inScreenshotFolder;
        bool inPictures;
    };
    const Case cases[] = {
        {"Screenshot From 2026-03-14 10-00-00.png", true, true},
        {"Screenshot_20260314_100000.png", true, true},
        {"holiday.jpg", true, false},
        {"my screen shot.webp", true, true},
        {".Screenshot-temp.png", false, false},
        {"Screenshot.png.part", false, false},
        {"Screenshot notes.txt", false, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ScreenshotFilePolicy::isScreenshotFile(QString::fromUtf8(c.name), true), c.inScreenshotFolder) << c.name;
        EXPECT_EQ(ScreenshotFilePolicy::isScreenshotFile(QString::fromUtf8(c.name), false), c.inPictures) << c.name;
    }
}

TEST(ScreenshotReactionController, ReportsScreenshotsSavedIntoTheWatchedFolder)
{
    TestFolder pictures;
    InotifyDirectoryWatcher watcher;
    ManualClock clock;
    ScreenshotReactionController controller(&watcher, ScreenshotLocation::Folder{pictures.path(), false}, clock);
    QList<QUrl> shots;
    controller.onScreenshot = [&](const QUrl &url) { shots.append(url); };
    EXPECT_FALSE(controller.isObserving());
    EXPECT_EQ(controller.watchedDirectory(), std::nullopt);

    controller.start();
    ASSERT_TRUE(controller.isObserving());
    EXPECT_EQ(controller.watchedDirectory(), pictures.path());

    pictures.write(QStringLiteral("cat.png"), "not a screenshot");
    // Screenshot tools often save under a temporary name and rename.
    pictures.write(QStringLiteral(".Screenshot_1.png-XYZ"), "partial");
    QFile::rename(pictures.filePath(QStringLiteral(".Screenshot_1.png-XYZ")), pictures.filePath("Screenshot_1.png"));
    ASSERT_TRUE(waitUntil([&] { return !shots.isEmpty(); }));
    waitUntil([] { return false; }, 150);
    EXPECT_EQ(shots, QList<QUrl>{QUrl::fromLocalFile(pictures.filePath(QStringLiteral("Screenshot_1.png")))});
    EXPECT_EQ(controller.lastFilename(), "Screenshot_1.png");

    controller.stop();
    EXPECT_FALSE(controller.isObserving());
    pictures.write(QStringLiteral("Screenshot_2.png"), "late");
    waitUntil([] { return false; }, 150);
    EXPECT_EQ(shots.size(), 1);
}

TEST(ScreenshotReactionController, ASavedAgainNameIsIgnoredOnlyBriefly)
{
    using namespace std::chrono_literals;
    FakeDirectoryWatcher watcher;
    ManualClock clock;
    ScreenshotReactionController controller(&watcher, ScreenshotLocation::Folder{"/shots", true}, clock);
    int shots = 0;
    controller.onScreenshot = [&](const QUrl &) { ++shots; };
    controller.start();

    watcher.arrive("Screenshot.png");
    clock.advance(1900ms);
    watcher.arrive("Screenshot.png");
    EXPECT_EQ(shots, 1) << "the same save reported twice";
    clock.advance(100ms);
    watcher.arrive("Screenshot.png");
    EXPECT_EQ(shots, 2) << "a new screenshot under a name used before";
    watcher.arrive("Other.png");
    watcher.arrive("Screenshot.png");
    EXPECT_EQ(shots, 4) << "another name in between starts afresh";
}

TEST(ScreenshotReactionController, WithoutAFolderItNeverObserves)
{
    InotifyDirectoryWatcher watcher;
    ManualClock clock;
    ScreenshotReactionController controller(&watcher, std::nullopt, clock);
    controller.start();
    EXPECT_FALSE(controller.isObserving());
    EXPECT_EQ(controller.watchedDirectory(), std::nullopt);
}

// Both watchers over real folders that are missing at start, appear later, and are removed and
// made again: each file finished in the folder reaches its reaction once, whenever it came.
TEST(ScreenshotReactionController, DownloadsAndScreenshotFoldersThatAppearLaterAreWatched)
{
    struct Kind {
        const char *name;
        QString folder; // under the throw-away home, missing at start
        QString part;   // written under this name, then renamed to the final one
        QString final;
    };
    const Kind kinds[] = {
        {"downloads", QStringLiteral("Downloads"), QStringLiteral("song.mp3.part"), QStringLiteral("song.mp3")},
        {"screenshots", QStringLiteral("Pictures/Screenshots"), QStringLiteral(".Screenshot_1.png-XYZ"),
         QStringLiteral("Screenshot_1.png")},
    };
    for (const Kind &kind : kinds) {
        SCOPED_TRACE(kind.name);
        TestFolder home;
        const QString folder = home.filePath(kind.folder);
        InotifyDirectoryWatcher watcher;
        ManualClock clock;
        FakeMountWatcher mounts;
        FakeDisplayWatcher displays;
        int arrivals = 0;
        ArrivalReactionController downloads(&watcher, folder, &mounts, &displays, clock);
        ScreenshotReactionController screenshots(&watcher, ScreenshotLocation::Folder{folder, true}, clock);
        downloads.onReaction = [&](const ArrivalReactionEvent &) { ++arrivals; };
        screenshots.onScreenshot = [&](const QUrl &) { ++arrivals; };
        const bool isDownloads = kind.folder == QStringLiteral("Downloads");
        if (isDownloads)
            downloads.start();
        else
            screenshots.start();
        EXPECT_TRUE(isDownloads ? downloads.isObserving() : screenshots.isObserving()) << "missing at start";

        const auto finishFile = [&](int expected, const char *step) {
            QFile file(QDir(folder).filePath(kind.part));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << step;
            file.write(QByteArray(4096, 'x'));
            file.close();
            QFile::rename(file.fileName(), QDir(folder).filePath(kind.final));
            EXPECT_TRUE(waitUntil([&] { return arrivals >= expected; }, 3000)) << step;
            waitUntil([] { return false; }, 100);
            EXPECT_EQ(arrivals, expected) << step;
            clock.advance(std::chrono::seconds(10));
        };
        // The folder appears after start; its parent may have to appear first.
        ASSERT_TRUE(QDir().mkpath(folder));
        waitUntil([] { return false; }, 50);
        finishFile(1, "appeared later");
        for (int round = 2; round <= 3; ++round) {
            ASSERT_TRUE(QDir(folder).removeRecursively());
            waitUntil([] { return false; }, 50);
            ASSERT_TRUE(QDir().mkpath(folder));
            waitUntil([] { return false; }, 50);
            finishFile(round, "removed and made again");
        }
    }
}

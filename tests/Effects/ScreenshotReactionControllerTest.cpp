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
    using namespace std::chrono_literals;
    for (const bool downloads : {true, false}) {
        SCOPED_TRACE(downloads ? "downloads" : "screenshots");
        TestFolder home;
        const QDir folder(home.filePath(downloads ? "Downloads" : "Pictures/Screenshots"));
        InotifyDirectoryWatcher watcher;
        ManualClock clock;
        FakeMountWatcher mounts;
        FakeDisplayWatcher displays;
        int arrivals = 0;
        ArrivalReactionController arrival(&watcher, folder.path(), &mounts, &displays, clock);
        ScreenshotReactionController screenshot(&watcher, ScreenshotLocation::Folder{folder.path(), true}, clock);
        arrival.onReaction = [&](const ArrivalReactionEvent &) { ++arrivals; };
        screenshot.onScreenshot = [&](const QUrl &) { ++arrivals; };
        downloads ? arrival.start() : screenshot.start();
        EXPECT_TRUE(downloads ? arrival.isObserving() : screenshot.isObserving()) << "missing at start";
        for (int round = 1; round <= 3; ++round) {
            // Appears later, then is removed and made again.
            if (round > 1) {
                ASSERT_TRUE(QDir(folder).removeRecursively());
            }
            waitUntil([] { return false; }, 50);
            ASSERT_TRUE(QDir().mkpath(folder.path()));
            waitUntil([] { return false; }, 50);
            const QString part = folder.filePath(downloads ? "song.mp3.part" : ".Screenshot_1.png-XYZ");
            QFile file(part);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'x'));
            file.close();
            QFile::rename(part, folder.filePath(downloads ? "song.mp3" : "Screenshot_1.png"));
            EXPECT_TRUE(waitUntil([&] { return arrivals >= round; }, 3000)) << round;
            waitUntil([] { return false; }, 100);
            EXPECT_EQ(arrivals, round);
            clock.advance(10s);
        }
    }
}

#include "Effects/ArrivalReactionController.h"
#include "Effects/ArrivalReactionPolicy.h"
#include "Effects/EventWait.h"
#include "Platform/Linux/InotifyDirectoryWatcher.h"
#include "fakes/FakeReactionSources.h"
#include "fakes/ManualClock.h"
#include "support/TestFolders.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

using Kind = ArrivalReactionEvent::Kind;

struct ArrivalFixture {
    TestFolder downloads;
    InotifyDirectoryWatcher watcher;
    FakeMountWatcher mounts;
    FakeDisplayWatcher displays;
    ManualClock clock;
    ArrivalReactionController controller{&watcher, downloads.path(), &mounts, &displays, clock};
    std::vector<ArrivalReactionEvent> events;

    ArrivalFixture()
    {
        controller.onReaction = [this](const ArrivalReactionEvent &event) { events.push_back(event); };
    }

    // Writes a file of the given size the way a download tool finishing in place would.
    void write(const QString &name, qint64 size) const
    {
        QFile file(downloads.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.resize(size);
        file.close();
    }
    // Finishes a file the way browsers do: written under a partial name, then renamed.
    void finishByRename(const QString &partial, const QString &final, qint64 size) const
    {
        write(partial, size);
        QFile::rename(downloads.filePath(partial), downloads.filePath(final));
    }
    // Lets the watcher deliver whatever the kernel has reported by now.
    void settle(std::size_t expected)
    {
        waitUntil([&] { return events.size() >= expected; }, 3000);
        waitUntil([] { return false; }, 150);
    }
};

} // namespace

TEST(ArrivalReactionController, FinishedDownloadsReactWithTheirWeightAndPartialFilesDoNot)
{
    ArrivalFixture f;
    f.controller.start();
    ASSERT_TRUE(f.controller.isObserving());

    // Everything a browser writes before the download is complete, and hidden files.
    for (const char *partial : {"movie.mkv.part", "setup.exe.crdownload", "song.mp3.download", "data.tmp",
                                "Unconfirmed 482913.crdownload", ".hidden.zip", "notes.txt~", "x.PART"})
        f.write(QString::fromLatin1(partial), 4096);
    // Firefox makes an empty placeholder under the final name when the download starts.
    f.write(QStringLiteral("placeholder.zip"), 0);
    f.downloads.makeDir(QStringLiteral("a-folder"));
    f.settle(0);
    EXPECT_TRUE(f.events.empty());

    f.write(QStringLiteral("paper.pdf"), 300 * 1024);
    f.finishByRename(QStringLiteral("talk.mp4.part"), QStringLiteral("talk.mp4"), ArrivalReactionPolicy::mediumBytes);
    f.finishByRename(QStringLiteral("Unconfirmed 1.crdownload"), QStringLiteral("disk.iso"),
                     ArrivalReactionPolicy::heavyBytes);
    f.settle(3);
    EXPECT_EQ(f.events, (std::vector{ArrivalReactionEvent::download(DownloadWeight::light),
                                     ArrivalReactionEvent::download(DownloadWeight::medium),
                                     ArrivalReactionEvent::download(DownloadWeight::heavy)}));
    EXPECT_EQ(f.controller.lastEventText(), "Heavy download landed");
}

TEST(ArrivalReactionController, OnlyNewFilesReactAndANameReactsOnceWithinTheWindow)
{
    ArrivalFixture f;
    f.controller.start();
    f.write(QStringLiteral("photo.jpg"), 2048);
    f.settle(1);
    EXPECT_EQ(f.events.size(), 1u);

    // Later writes to a file already there are no download, however late they come.
    f.write(QStringLiteral("photo.jpg"), 4096);
    f.clock.advance(3s);
    f.write(QStringLiteral("photo.jpg"), 4096);
    f.settle(1);
    EXPECT_EQ(f.events.size(), 1u);

    // Made anew under the same name: within the window it is the same arrival, after it a new one.
    QFile::remove(f.downloads.filePath(QStringLiteral("photo.jpg")));
    f.write(QStringLiteral("photo.jpg"), 2048);
    f.settle(1);
    EXPECT_EQ(f.events.size(), 2u) << "the window began at the first arrival";
    QFile::remove(f.downloads.filePath(QStringLiteral("photo.jpg")));
    f.write(QStringLiteral("photo.jpg"), 2048);
    f.settle(2);
    EXPECT_EQ(f.events.size(), 2u);
    f.clock.advance(3s);
    QFile::remove(f.downloads.filePath(QStringLiteral("photo.jpg")));
    f.finishByRename(QStringLiteral("photo.jpg.part"), QStringLiteral("photo.jpg"), 2048);
    f.settle(3);
    EXPECT_EQ(f.events.size(), 3u);
}

TEST(ArrivalReactionController, WatchersFollowRunningAndTheEnabledKinds)
{
    ArrivalFixture f;
    EXPECT_FALSE(f.controller.isObserving());
    f.controller.configure(false, true);
    f.controller.start();
    EXPECT_TRUE(f.controller.isObserving());
    EXPECT_TRUE(f.mounts.running);
    EXPECT_TRUE(f.displays.running);

    f.write(QStringLiteral("ignored.zip"), 100);
    f.settle(0);
    EXPECT_TRUE(f.events.empty());

    f.controller.configure(true, false);
    EXPECT_FALSE(f.mounts.running);
    EXPECT_FALSE(f.displays.running);
    EXPECT_TRUE(f.controller.isObserving());

    f.controller.configure(false, false);
    EXPECT_FALSE(f.controller.isObserving());
    f.controller.configure(true, true);
    f.controller.stop();
    EXPECT_FALSE(f.controller.isObserving());
    EXPECT_FALSE(f.mounts.running);
}

TEST(ArrivalReactionController, DrivesReactOncePerChangeAndOnlyForUserVisibleMounts)
{
    ArrivalFixture f;
    const MountEntry root{"/", "/dev/nvme0n1p2", "ext4"};
    const MountEntry boot{"/boot/efi", "/dev/nvme0n1p1", "vfat"};
    f.mounts.table = {root, boot};
    f.controller.start();

    // System mounts come and go without a reaction.
    f.mounts.change({root, boot, {"/run/user/1000/doc", "portal", "fuse.portal"}, {"/media", "tmpfs", "tmpfs"}});
    EXPECT_TRUE(f.events.empty());

    // A stick with two partitions mounts both at once.
    f.mounts.change({root, boot, {"/media/ana/STICK", "/dev/sdb1", "vfat"}, {"/media/ana/STICK1", "/dev/sdb2", "exfat"}});
    f.mounts.change({root, boot, {"/run/media/ana/Backup", "/dev/sdc1", "ext4"}});
    f.mounts.change({root, boot});
    EXPECT_EQ(f.events, (std::vector{ArrivalReactionEvent::of(Kind::volumeConnected),
                                     ArrivalReactionEvent::of(Kind::volumeDisconnected),
                                     ArrivalReactionEvent::of(Kind::volumeConnected),
                                     ArrivalReactionEvent::of(Kind::volumeDisconnected)}));
    EXPECT_EQ(f.controller.lastEventText(), "External drive disconnected");

    f.events.clear();
    f.displays.send(DisplayChange::connected);
    f.displays.send(DisplayChange::disconnected);
    EXPECT_EQ(f.events, (std::vector{ArrivalReactionEvent::of(Kind::displayConnected),
                                     ArrivalReactionEvent::of(Kind::displayDisconnected)}));
    EXPECT_EQ(f.controller.lastEventText(), "Display disconnected");
}

TEST(ArrivalReactionController, EmitPublishesTheTextWithoutCheckingTheGates)
{
    ArrivalFixture f;
    f.controller.configure(false, false);
    f.controller.emitReaction(ArrivalReactionEvent::download(DownloadWeight::medium));
    EXPECT_EQ(f.controller.lastEventText(), "Medium download landed");
    EXPECT_EQ(f.events.size(), 1u);
}

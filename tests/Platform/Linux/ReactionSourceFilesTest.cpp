#include "Platform/Linux/MountinfoWatcher.h"
#include "Platform/Linux/SysfsPowerSource.h"
#include "fakes/ManualClock.h"
#include "support/TestFolders.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(MountinfoWatcher, ParsesEntriesWithOptionalFieldsAndEscapes)
{
    const QByteArray text = "22 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
                            "95 22 8:17 / /media/ana/My\\040Stick rw,nosuid shared:52 master:3 - vfat /dev/sdb1 rw\n"
                            "garbage line\n"
                            "96 22 0:50 / /run/user/1000 rw - tmpfs tmpfs rw\n";
    const QList<MountEntry> entries = MountinfoWatcher::parse(text);
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0], (MountEntry{"/", "/dev/nvme0n1p2", "ext4"}));
    EXPECT_EQ(entries[1], (MountEntry{"/media/ana/My Stick", "/dev/sdb1", "vfat"}));
    EXPECT_EQ(entries[2].mountPoint, "/run/user/1000");
}

TEST(MountinfoWatcher, ReadsThisProcesssTable)
{
    MountinfoWatcher watcher;
    const QList<MountEntry> mounts = watcher.mounts();
    // Inside a chroot the root itself may not be listed, so only the table's shape is checked.
    ASSERT_FALSE(mounts.isEmpty());
    EXPECT_TRUE(std::all_of(mounts.begin(), mounts.end(), [](const MountEntry &m) {
        return m.mountPoint.startsWith('/') && !m.fileSystemType.isEmpty();
    }));
    EXPECT_TRUE(watcher.start([] {}));
    watcher.stop();
}

// A host with many mounts (containers, snaps) has a table far longer than a device
// attribute; the table has a limit of its own, and is still refused when it is a link.
TEST(MountinfoWatcher, ALongTableIsReadWholeAndALinkOrAnEndlessOneIsNot)
{
    TestFolder folder;
    QByteArray table;
    constexpr int mountCount = 20000;
    for (int i = 0; i < mountCount; ++i)
        table += QByteArray::number(100 + i) + " 22 0:" + QByteArray::number(60 + i) + " / /var/lib/containers/c" +
                 QByteArray::number(i) + "/merged rw,relatime shared:7 - overlay overlay rw,lowerdir=/l\n";
    ASSERT_GT(table.size(), 1 << 20);
    const QString path = folder.write("mountinfo", table);
    const QString link = folder.filePath("mountinfo-link");
    QFile::link(path, link);
    const QString endless = folder.filePath("endless");
    QFile::link(QStringLiteral("/dev/zero"), endless);
    const QString oversized = folder.write("oversized", {});
    QFile(oversized).resize(qint64(16 << 20) + 1);

    struct Case {
        QString path;
        qsizetype mounts;
        bool watched;
    };
    const Case cases[] = {{path, mountCount, true}, {link, 0, false}, {endless, 0, false}, {oversized, 0, false}};
    for (const Case &c : cases) {
        MountinfoWatcher watcher(c.path);
        const QList<MountEntry> mounts = watcher.mounts();
        EXPECT_EQ(mounts.size(), c.mounts) << c.path.toStdString();
        if (!mounts.isEmpty()) {
            EXPECT_EQ(mounts.last().mountPoint, QStringLiteral("/var/lib/containers/c%1/merged").arg(mountCount - 1));
        }
        EXPECT_EQ(watcher.start([] {}), c.watched) << c.path.toStdString();
        watcher.stop();
    }
}

namespace {
void device(const TestFolder &root, const QString &name, const std::map<QString, QByteArray> &attributes)
{
    for (const auto &[key, value] : attributes)
        root.write(name + "/" + key, value + "\n");
}
}

TEST(SysfsPowerSource, ReadsTheInternalBatteryAndTheMainsSupply)
{
    struct Case {
        const char *name;
        std::function<void(const TestFolder &)> build;
        std::optional<PowerSnapshot> expected;
    };
    const std::vector<Case> cases{
        {"no battery", [](const TestFolder &root) { device(root, "AC", {{"type", "Mains"}, {"online", "1"}}); },
         std::nullopt},
        {"discharging, mains offline",
         [](const TestFolder &root) {
             device(root, "AC", {{"type", "Mains"}, {"online", "0"}});
             device(root, "BAT0", {{"type", "Battery"}, {"capacity", "57"}, {"status", "Discharging"}});
         },
         PowerSnapshot{57, false, false}},
        {"a mouse battery is skipped",
         [](const TestFolder &root) {
             device(root, "BAT0", {{"type", "Battery"}, {"capacity", "88"}, {"status", "Charging"}});
             device(root, "AA-hid", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "5"}, {"status", "Discharging"}});
             device(root, "ADP1", {{"type", "Mains"}, {"online", "1"}});
         },
         PowerSnapshot{88, true, true}},
        {"without a mains entry the status decides",
         [](const TestFolder &root) {
             device(root, "BAT1", {{"type", "Battery"}, {"capacity", "100"}, {"status", "Full"}});
         },
         PowerSnapshot{100, true, false}},
    };
    for (const Case &c : cases) {
        TestFolder root;
        c.build(root);
        EXPECT_EQ(SysfsPowerSource::read(root.path()), c.expected) << c.name;
    }
}

TEST(SysfsPowerSource, ReportsAtStartAndThenOnlyChanges)
{
    TestFolder root;
    device(root, "BAT0", {{"type", "Battery"}, {"capacity", "50"}, {"status", "Discharging"}});
    ManualClock clock;
    ManualScheduler scheduler(clock);
    SysfsPowerSource source(root.path(), scheduler, 30s);
    std::vector<std::optional<PowerSnapshot>> readings;
    source.start([&](std::optional<PowerSnapshot> snapshot) { readings.push_back(snapshot); });
    ASSERT_EQ(readings.size(), 1u);
    scheduler.advance(60s);
    EXPECT_EQ(readings.size(), 1u);
    device(root, "BAT0", {{"capacity", "49"}});
    scheduler.advance(30s);
    ASSERT_EQ(readings.size(), 2u);
    EXPECT_EQ(readings.back(), (PowerSnapshot{49, false, false}));
    source.stop();
    device(root, "BAT0", {{"capacity", "48"}});
    scheduler.advance(60s);
    EXPECT_EQ(readings.size(), 2u);
}

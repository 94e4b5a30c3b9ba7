#include "Effects/Chaos/DesktopItems.h"
#include "Effects/Chaos/DesktopWallpaperGeometry.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
void touch(const QTemporaryDir &dir, const QString &name)
{
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

QStringList namesOf(const std::vector<DesktopVisualItem> &items)
{
    QStringList names;
    for (const auto &item : items)
        names << item.name;
    return names;
}
}

TEST(DesktopItems, ListsVisibleEntriesInTheFileManagersOrder)
{
    QTemporaryDir desktop;
    for (const char *name : {"b10.txt", "b9.txt", "A.txt", ".hidden", "c folder"})
        touch(desktop, QString::fromLatin1(name));
    QDir(desktop.path()).mkdir(QStringLiteral("B2"));
    EXPECT_EQ(DesktopItems::sortedEntryNames(desktop.path()),
              (QStringList{"A.txt", "B2", "b9.txt", "b10.txt", "c folder"}));
    EXPECT_TRUE(DesktopItems::sortedEntryNames(desktop.filePath(QStringLiteral("missing"))).isEmpty());
}

TEST(DesktopItems, KeepsTheFirstTwentyFourAndFindsIconsWithOrWithoutExtension)
{
    QTemporaryDir desktop;
    for (int i = 1; i <= 30; ++i)
        touch(desktop, QStringLiteral("file %1.txt").arg(i));
    touch(desktop, QStringLiteral("report.pdf"));
    const QHash<QString, QRectF> frames{{QStringLiteral("report"), QRectF(5, 6, 7, 8)},
                                        {QStringLiteral("file 1.txt"), QRectF(1, 2, 3, 4)}};
    const auto items = DesktopItems::load(desktop.path(), frames);
    ASSERT_EQ(items.size(), 24u);
    EXPECT_EQ(items[0].name, QStringLiteral("file 1"));
    EXPECT_EQ(items[0].axBounds, QRectF(1, 2, 3, 4));
    EXPECT_EQ(items[1].name, QStringLiteral("file 2"));
    EXPECT_EQ(items[23].name, QStringLiteral("file 24"));
    EXPECT_EQ(items[0].url, QUrl::fromLocalFile(desktop.filePath(QStringLiteral("file 1.txt"))));
    EXPECT_FALSE(items[1].axBounds);

    QTemporaryDir small;
    touch(small, QStringLiteral("report.pdf"));
    const auto report = DesktopItems::load(small.path(), frames);
    ASSERT_EQ(report.size(), 1u);
    EXPECT_EQ(report[0].name, QStringLiteral("report"));
    EXPECT_EQ(report[0].axBounds, QRectF(5, 6, 7, 8));
}

TEST(DesktopItems, FillsUpWithPlaceholdersInTheirFixedOrder)
{
    std::vector<DesktopVisualItem> three;
    for (const char *name : {"x", "y", "z"})
        three.push_back({QString::fromLatin1(name), {}, QUrl::fromLocalFile(QStringLiteral("/d/x")), std::nullopt});
    const auto twelve = DesktopItems::expandedItems(three, 12);
    EXPECT_EQ(namesOf(twelve), (QStringList{"x", "y", "z", "Project", "Notes", "Photos", "Ideas", "Archive", "Music",
                                             "Project", "Notes", "Photos"}));
    EXPECT_FALSE(twelve[3].url);

    std::vector<DesktopVisualItem> twenty(20, three[0]);
    EXPECT_EQ(DesktopItems::expandedItems(twenty, 12).size(), 12u);
    EXPECT_EQ(namesOf(DesktopItems::expandedItems(twenty, 12)).count(QStringLiteral("x")), 12);
    EXPECT_TRUE(DesktopItems::expandedItems(three, 0).empty());
}

TEST(DesktopWallpaperGeometry, FillsTheScreenRelativeToTheEffectFrame)
{
    EXPECT_EQ(DesktopWallpaperGeometry::spriteFrame({2880, 1620}, {0, 0, 1440, 900}, {0, 80, 1440, 795}),
              QRectF(-80, -80, 1600, 900));
    EXPECT_EQ(DesktopWallpaperGeometry::spriteFrame({0, 1620}, {0, 0, 1440, 900}, {0, 80, 1440, 795}),
              QRectF(0, 0, 1440, 795));
}

#include "Platform/DesktopIconWalk.h"

#include "fakes/FakeAccessibleTree.h"

#include <gtest/gtest.h>

namespace {
// A chain of containers under the application's window with an icon at the given depth
// (the window itself is depth 0).
FakeAccessibleTree treeWithIconAtDepth(int depth)
{
    FakeAccessibleTree application(QStringLiteral("application"), QStringLiteral("nemo-desktop"));
    FakeAccessibleTree *node = &application.add(QStringLiteral("desktop frame"));
    for (int level = 1; level < depth; ++level)
        node = &node->add(QStringLiteral("panel"));
    node->add(QStringLiteral("icon"), QStringLiteral("deep.txt"), QRect(10, 20, 48, 48));
    return application;
}
}

TEST(DesktopIconWalk, LooksAtMostFiveLevelsBelowEachWindow)
{
    EXPECT_EQ(DesktopIconWalk::positions(treeWithIconAtDepth(5)).value(QStringLiteral("deep.txt")), QRectF(10, 20, 48, 48));
    EXPECT_TRUE(DesktopIconWalk::positions(treeWithIconAtDepth(6)).isEmpty());
}

TEST(DesktopIconWalk, StopsAtFortyEightIcons)
{
    FakeAccessibleTree application(QStringLiteral("application"));
    auto &desktop = application.add(QStringLiteral("desktop frame"));
    for (int i = 0; i < 60; ++i)
        desktop.add(QStringLiteral("icon"), QStringLiteral("file%1").arg(i), QRect(i, 0, 10, 10));
    const auto found = DesktopIconWalk::positions(application);
    EXPECT_EQ(found.size(), DesktopIconWalk::maxIcons);
    EXPECT_TRUE(found.contains(QStringLiteral("file47")));
    EXPECT_FALSE(found.contains(QStringLiteral("file48")));
}

TEST(DesktopIconWalk, UnreadableIconsAreLookedIntoAndLaterTitlesWin)
{
    FakeAccessibleTree application(QStringLiteral("application"));
    auto &desktop = application.add(QStringLiteral("scroll pane"));
    // An untitled or frameless icon may still hold the real one.
    desktop.add(QStringLiteral("icon")).add(QStringLiteral("image"), QStringLiteral("a"), QRect(1, 1, 5, 5));
    desktop.add(QStringLiteral("icon"), QStringLiteral("b")).add(QStringLiteral("icon"), QStringLiteral("c"), QRect(2, 2, 5, 5));
    // A found icon's own children are not visited.
    desktop.add(QStringLiteral("icon"), QStringLiteral("d"), QRect(3, 3, 5, 5))
        .add(QStringLiteral("icon"), QStringLiteral("hidden"), QRect(4, 4, 5, 5));
    desktop.add(QStringLiteral("icon"), QStringLiteral("a"), QRect(9, 9, 5, 5));

    const auto found = DesktopIconWalk::positions(application);
    EXPECT_EQ(found.value(QStringLiteral("a")), QRectF(9, 9, 5, 5));
    EXPECT_EQ(found.value(QStringLiteral("c")), QRectF(2, 2, 5, 5));
    EXPECT_TRUE(found.contains(QStringLiteral("d")));
    EXPECT_FALSE(found.contains(QStringLiteral("b")));
    EXPECT_FALSE(found.contains(QStringLiteral("hidden")));
}

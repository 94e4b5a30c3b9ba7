#include "Effects/Chaos/ChaosClickCounter.h"
#include "Effects/Chaos/ChaosPanel.h"
#include "Effects/Chaos/ChaosScene.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {
std::vector<DesktopVisualItem> items(int count, bool withFiles = true)
{
    std::vector<DesktopVisualItem> result;
    for (int i = 0; i < count; ++i) {
        DesktopVisualItem item{QStringLiteral("item %1").arg(i), {}, std::nullopt, std::nullopt};
        if (withFiles)
            item.url = QUrl::fromLocalFile(QStringLiteral("/desktop/item %1").arg(i));
        result.push_back(item);
    }
    return result;
}

std::unique_ptr<ChaosScene> scene(ChaosMode mode, QSizeF size, std::vector<DesktopVisualItem> list, quint32 seed = 7)
{
    const QRectF frame(QPointF(0, 0), size);
    return std::make_unique<ChaosScene>(mode, std::move(list), frame, size.height(), seed);
}

// Box2D keeps positions in single precision.
void expectAt(QPointF actual, QPointF expected)
{
    EXPECT_NEAR(actual.x(), expected.x(), 1e-3);
    EXPECT_NEAR(actual.y(), expected.y(), 1e-3);
}

struct Opened {
    QList<QUrl> urls;
    int onOpenCalls = 0;
};

void recordOpens(ChaosScene &scene, Opened &opened)
{
    scene.openUrl = [&opened](const QUrl &url) { opened.urls << url; };
    scene.onOpen = [&opened] { ++opened.onOpenCalls; };
}
}

TEST(ChaosScene, GravityGridStartsAtTheTopLeft)
{
    const auto wide = scene(ChaosMode::gravity, {1000, 800}, items(12));
    expectAt(wide->itemPosition(10), QPointF(52, 800 - 203));
    expectAt(wide->itemPosition(9), QPointF(52 + 92 * 9, 800 - 125));
    const auto narrow = scene(ChaosMode::gravity, {90, 800}, items(2));
    expectAt(narrow->itemPosition(1), QPointF(52, 800 - 203));
    EXPECT_EQ(wide->gravity(), QPointF(18, -620));
}

TEST(ChaosScene, ZeroGravityScattersWithinItsRange)
{
    for (quint32 seed = 1; seed <= 20; ++seed) {
        const auto s = scene(ChaosMode::zeroGravity, {120, 600}, items(12), seed);
        for (int i = 0; i < s->itemCount(); ++i) {
            const QPointF p = s->itemPosition(i);
            EXPECT_GE(p.x(), 70 - 1e-3);
            EXPECT_LE(p.x(), 71 + 1e-3);
            EXPECT_GE(p.y(), 90 - 1e-3);
            EXPECT_LE(p.y(), 500 + 1e-3);
        }
        EXPECT_EQ(s->gravity(), QPointF(0, 0));
    }
}

TEST(ChaosScene, VortexItemsStartEvenlyOnARing)
{
    const QSizeF size(1200, 800);
    const auto s = scene(ChaosMode::vortex, size, items(12));
    const double r = 0.42 * 800;
    EXPECT_NEAR(s->itemPosition(0).x(), 600 + r, 1e-3);
    EXPECT_NEAR(s->itemPosition(0).y(), 400, 1e-3);
    for (int i = 0; i < 12; ++i) {
        const QPointF offset = s->itemPosition(i) - QPointF(600, 400);
        EXPECT_NEAR(std::hypot(offset.x(), offset.y()), r, 1e-2);
        const double angle = std::atan2(offset.y(), offset.x());
        EXPECT_NEAR(std::remainder(angle - 2 * std::numbers::pi * i / 12, 2 * std::numbers::pi), 0, 1e-4);
        // Even items start to the right, odd ones to the left.
        EXPECT_EQ(s->itemVelocity(i).x() > 0, i % 2 == 0);
    }
}

TEST(ChaosScene, IconFramesPlaceItemsOnlyWellInsideTheScene)
{
    auto list = items(3);
    // Frames are in top-left coordinates of a 1000 × 800 primary screen; the scene covers
    // its visible part above a 40-point dock.
    list[0].axBounds = QRectF(80, 100, 40, 40);    // centre (100, 120) → scene (100, 640)
    list[1].axBounds = QRectF(10, 100, 40, 40);    // centre x 30: closer than 34 to the edge
    list[2].axBounds = QRectF(2000, 100, 40, 40);  // another screen
    const QRectF effect(0, 40, 1000, 760);
    ChaosScene s(ChaosMode::gravity, list, effect, 800, 3);
    expectAt(s.itemPosition(0), QPointF(100, 640));
    expectAt(s.itemPosition(1), QPointF(52 + 92, 760 - 125));
    expectAt(s.itemPosition(2), QPointF(52 + 184, 760 - 125));
}

TEST(ChaosScene, DoubleClickOpensOnlyWithoutMovementAndOnlyRealFiles)
{
    struct Case {
        const char *name;
        double movement;
        int clickCount;
        bool isFile;
        bool opens;
    };
    const Case cases[] = {
        {"still double click", 5.9, 2, true, true},
        {"moved six points", 6, 2, true, false},
        {"single click", 0, 1, true, false},
        {"triple click", 0, 3, true, false},
        {"placeholder", 0, 2, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto s = scene(ChaosMode::zeroGravity, {800, 600}, items(1, c.isFile));
        Opened opened;
        recordOpens(*s, opened);
        const QPointF start = s->itemPosition(0);
        s->mouseDown(start);
        EXPECT_EQ(s->draggedItem(), 0);
        EXPECT_FALSE(s->isItemSimulated(0));
        s->mouseDragged(start + QPointF(c.movement, 0));
        s->mouseUp(start + QPointF(c.movement, 0), c.clickCount);
        EXPECT_EQ(opened.onOpenCalls, c.opens ? 1 : 0);
        EXPECT_EQ(opened.urls.size(), c.opens ? 1 : 0);
        EXPECT_TRUE(s->isItemSimulated(0));
        EXPECT_FALSE(s->draggedItem());
        // A throw takes the drag's whole displacement times 2.4; anything else rests.
        const double expectedSpeed = c.movement >= 6 ? c.movement * 2.4 : 0;
        EXPECT_NEAR(s->itemVelocity(0).x(), expectedSpeed, 1e-3);
    }
}

TEST(ChaosScene, DragStopsThirtyFourPointsInsideTheEdges)
{
    auto s = scene(ChaosMode::zeroGravity, {800, 600}, items(1));
    const QPointF start = s->itemPosition(0);
    s->mouseDown(start);
    s->mouseDragged({-500, 5000});
    EXPECT_NEAR(s->itemPosition(0).x(), 34, 1e-3);
    EXPECT_NEAR(s->itemPosition(0).y(), 600 - 34, 1e-3);
    s->mouseUp({-500, 5000}, 1);
    s->mouseDown({5, 5});
    EXPECT_FALSE(s->draggedItem());
}

TEST(ChaosScene, BodiesFallInGravityAndStayInsideTheEdges)
{
    auto s = scene(ChaosMode::gravity, {800, 600}, items(24));
    const double startY = s->itemPosition(0).y();
    for (int i = 0; i < 60 * 5; ++i)
        s->step();
    EXPECT_LT(s->itemPosition(0).y(), startY - 100);
    for (int i = 0; i < s->itemCount(); ++i) {
        EXPECT_GE(s->itemPosition(i).y(), 36);
        EXPECT_LE(s->itemPosition(i).x(), 800 - 8);
    }
}

TEST(ChaosScene, EarthquakeKicksItemsUpwardThenTheBannerIsGone)
{
    auto s = scene(ChaosMode::earthquake, {800, 600}, items(12));
    EXPECT_GT(s->itemVelocity(0).y(), 0);
    EXPECT_EQ(s->bannerOpacity(), 0);
    for (int i = 0; i < 60; ++i)
        s->step();
    EXPECT_EQ(s->bannerOpacity(), 1);
    for (int i = 0; i < 60 * 2 + 12; ++i)
        s->step();
    EXPECT_EQ(s->bannerOpacity(), 0);
    EXPECT_TRUE(s->bannerText().startsWith(QStringLiteral("EARTHQUAKE  \u00b7  DRAG FILES")));
}

TEST(ChaosScene, LabelsAreCutOnWholeCharacters)
{
    EXPECT_EQ(ChaosScene::labelText(QStringLiteral("fourteen chars")), QStringLiteral("fourteen chars"));
    EXPECT_EQ(ChaosScene::labelText(QStringLiteral("twenty characters!!!")), QStringLiteral("twenty charac\u2026"));
    // Thirteen flags are thirteen characters of two code points each.
    QString flags;
    for (int i = 0; i < 15; ++i)
        flags += QStringLiteral("\U0001F1E9\U0001F1EA");
    EXPECT_EQ(ChaosScene::labelText(flags), flags.left(13 * 4) + QChar(0x2026));
}

TEST(ChaosClickCounter, CountsOnlyQuickPressesCloseTogether)
{
    ChaosClickCounter clicks(400, 5);
    EXPECT_EQ(clicks.press({10, 10}, 1000), 1);
    EXPECT_EQ(clicks.press({12, 11}, 1300), 2);
    EXPECT_EQ(clicks.press({12, 11}, 1700), 3);
    EXPECT_EQ(clicks.press({12, 11}, 2101), 1);
    EXPECT_EQ(clicks.press({20, 11}, 2200), 1);
}

TEST(ChaosPanel, PressesOnEmptySpaceCountLikeTheDesktopsDoubleClick)
{
    // As on the desktop, a press on empty space counts: a quick press just beside an item,
    // then one on the item's edge, is a double click on the item.
    for (const bool quick : {true, false}) {
        auto s = scene(ChaosMode::zeroGravity, {800, 600}, items(1));
        Opened opened;
        recordOpens(*s, opened);
        const QPointF centre = s->itemPosition(0);
        QPointF outside = centre;
        for (;; outside.rx() += 1) {
            s->mouseDown(outside);
            const bool hit = s->draggedItem().has_value();
            s->mouseUp(outside, 1);
            if (!hit)
                break;
        }
        ChaosPanel panel(std::move(s), false);
        panel.resize(800, 600);
        qint64 time = 1000;
        const auto click = [&](QPointF scenePoint) {
            const QPointF at(scenePoint.x(), 600 - scenePoint.y());
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QMouseEvent event(type, at, at, Qt::LeftButton,
                                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
                event.setTimestamp(quint64(time));
                QCoreApplication::sendEvent(&panel, &event);
            }
        };
        click(outside);
        time += quick ? 100 : 5000;
        click(outside - QPointF(3, 0));
        EXPECT_EQ(opened.urls.size(), quick ? 1 : 0) << (quick ? "quick" : "slow");
    }
}

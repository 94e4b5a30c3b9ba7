#include "Effects/Overlays/StatsOverlayView.h"
#include "Effects/StatsOverlayController.h"
#include "fakes/FakeOverlayWindowSupport.h"
#include "fakes/ManualClock.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {
struct HudFixture {
    ManualClock clock;
    ManualScheduler scheduler{clock};
    FakeOverlayWindowSupport support;
    StatsOverlayController hud{support, scheduler};
    static constexpr int inset = StatsOverlayController::screenInset;
    QRect area = QGuiApplication::primaryScreen()->availableGeometry().adjusted(inset, inset, -inset, -inset);
    QSize size = StatsOverlayView::panelSize;
};
}

TEST(StatsOverlayPresentation, ShowsTheLastKeyBrieflyAndEachKeyRestartsTheWait)
{
    HudFixture f;
    StatsOverlayPresentation &presentation = f.hud.presentation();
    QSignalSpy changes(&presentation, &StatsOverlayPresentation::changed);
    presentation.update({12, 3, 40});
    presentation.update({12, 3, 40});
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(presentation.snapshot(), (InteractionSnapshot{12, 3, 40}));

    presentation.showKey(QStringLiteral("A"));
    EXPECT_EQ(presentation.lastKeyLabel(), "A");
    f.scheduler.advance(600ms);
    presentation.showKey(QStringLiteral("⌫"));
    f.scheduler.advance(600ms);
    EXPECT_EQ(presentation.lastKeyLabel(), "⌫");
    f.scheduler.advance(400ms);
    EXPECT_TRUE(presentation.lastKeyLabel().isEmpty());
}

TEST(StatsOverlayController, PlacesTheHudByFractionsOfTheFreeRoom)
{
    HudFixture f;
    EXPECT_FALSE(f.hud.isVisible());
    f.hud.setVisible(true);
    ASSERT_TRUE(f.hud.isVisible());
    // The default (1, 1) is the top-right corner, inside the free area and clear of its edges.
    EXPECT_EQ(f.hud.view()->geometry(), QRect(f.area.right() + 1 - f.size.width(), f.area.top(), f.size.width(), f.size.height()));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(available.contains(f.hud.view()->geometry()));
    EXPECT_GE(f.hud.view()->geometry().top() - available.top(), 24) << "below a 24-pixel panel without a strut";
    EXPECT_GE(available.right() - f.hud.view()->geometry().right(), 24);

    f.hud.setPlacement({0, 0});
    EXPECT_EQ(f.hud.view()->pos(), QPoint(f.area.left(), f.area.bottom() + 1 - f.size.height()));
    f.hud.setPlacement({0.5, std::nan("")});
    EXPECT_EQ(f.hud.placement(), PetPlacement{});

    f.hud.setVisible(false);
    EXPECT_FALSE(f.hud.isVisible());
    EXPECT_FALSE(f.hud.view()->testAttribute(Qt::WA_WState_Visible));
}

TEST(StatsOverlayController, ADragReportsTheNewPlacementAndSnapsBackInside)
{
    HudFixture f;
    f.hud.setVisible(true);
    std::vector<PetPlacement> reported;
    f.hud.onPlacementChanged = [&](PetPlacement placement) { reported.push_back(placement); };

    const int roomX = f.area.width() - f.size.width();
    const int roomY = f.area.height() - f.size.height();
    f.hud.view()->move(f.area.left() + roomX / 4, f.area.top() + roomY / 2);
    f.hud.view()->onMoved();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_NEAR(reported[0].x, 0.25, 0.01);
    EXPECT_NEAR(reported[0].y, 0.5, 0.01);
    EXPECT_EQ(f.hud.placement(), reported[0]);

    // Echoing the reported placement back (as the settings do) does not move the HUD.
    const QPoint dropped = f.hud.view()->pos();
    f.hud.setPlacement(reported[0]);
    EXPECT_EQ(f.hud.view()->pos(), dropped);

    f.hud.view()->move(f.area.left() - 500, f.area.bottom() + 300);
    f.hud.view()->onMoved();
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[1], (PetPlacement{0, 0}));
    EXPECT_EQ(f.hud.view()->pos(), QPoint(f.area.left(), f.area.bottom() + 1 - f.size.height()));
}

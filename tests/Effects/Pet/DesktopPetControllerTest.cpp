#include "Effects/Pet/DesktopPetController.h"
#include "Effects/Pet/PetGeometry.h"
#include "Effects/Pet/PetMotion.h"
#include "Effects/Pet/PetPresentation.h"
#include "fakes/FakePetDesktop.h"
#include "fakes/ManualClock.h"

#include <QLineF>

#include <gtest/gtest.h>

#include <cmath>

using namespace std::chrono_literals;

namespace {
// A 1440 x 900 main display with a 25-point bar at the top and a 50-point dock at the bottom;
// y grows upwards.
const PetScreen mainDisplay{{0, 0, 1440, 900}, {0, 50, 1440, 825}};
// A second display to the right of the main one, without bars.
const PetScreen rightDisplay{{1440, 0, 1920, 1080}, {1440, 0, 1920, 1080}};

class DesktopPetControllerTest : public ::testing::Test {
public:
    DesktopPetControllerTest()
    {
        desktop.displays = {mainDisplay};
        controller.onAction = [this](PetAction action) { actions.push_back(action); };
        controller.onPlacementChanged = [this](PetPlacement placement) { placements.push_back(placement); };
    }

    FakePetPanel &panel() { return *static_cast<FakePetPanel *>(controller.panel()); }
    PetPresentation &pet() { return controller.presentation(); }
    void openMenu(bool open)
    {
        pet().setDialogueVisible(open);
        scheduler.advance(0ms);
    }
    void TestBody() override {}

    ManualClock clock;
    ManualScheduler scheduler{clock};
    FakePetDesktop desktop;
    DesktopPetController controller{clock, scheduler, desktop, [](PetPresentation &, PetPanelCallbacks callbacks) {
                                        return std::make_unique<FakePetPanel>(std::move(callbacks));
                                    }};
    std::vector<PetAction> actions;
    std::vector<PetPlacement> placements;
};
}

TEST_F(DesktopPetControllerTest, PlacementsPutThePanelInTheAreaOfTheMainScreen)
{
    controller.show();
    EXPECT_TRUE(panel().onScreen);
    EXPECT_EQ(panel().rect, QRectF(1314, 58, 170, 122)) << "44 past the right edge, 8 above the dock";

    controller.setPlacement({0, 1});
    openMenu(true);
    controller.setPlacement({0.5, 0.5});
    controller.setPlacement({0, 1});
    EXPECT_EQ(panel().rect, QRectF(8, 867 - 300, 220, 300)) << "8 inside the visible top-left corner";
}

TEST_F(DesktopPetControllerTest, StoredPlacementsAreClampedAndNeverNonFinite)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<PetPlacement, PetPlacement> cases[] = {
        {{1.5, -0.2}, {1, 0}}, {{0.25, 0.75}, {0.25, 0.75}}, {{std::nan(""), 0.5}, {1, 0}}, {{0.5, inf}, {1, 0}}};
    for (const auto &[given, stored] : cases) {
        controller.setPlacement(given);
        EXPECT_EQ(controller.savedPlacement(), stored);
    }
}

TEST_F(DesktopPetControllerTest, OpeningTheMenuGrowsThePanelAboutItsCentreAndBottom)
{
    controller.setPlacement({0.5, 0.2});
    controller.show();
    const QRectF closed = panel().rect;
    openMenu(true);
    EXPECT_EQ(panel().rect.size(), QSizeF(220, 300));
    EXPECT_DOUBLE_EQ(panel().rect.center().x(), closed.center().x());
    EXPECT_DOUBLE_EQ(panel().rect.top(), closed.top());
    openMenu(false);
    EXPECT_EQ(panel().rect, closed);

    // At the right edge the open panel is pushed back inside the visible frame.
    controller.setPlacement({1, 0});
    openMenu(true);
    EXPECT_EQ(panel().rect, QRectF(1432 - 220, 58, 220, 300));
}

TEST_F(DesktopPetControllerTest, ADragMovesThePanelAndTheDropReportsThePlacement)
{
    controller.show();
    panel().setFrame({500, 300, 170, 122});
    panel().callbacks.onDragChanged({60, 20});
    panel().callbacks.onDragChanged({100, 50});
    EXPECT_EQ(panel().rect.topLeft(), QPointF(600, 250));
    EXPECT_EQ(pet().facingDirection(), -1);
    EXPECT_TRUE(pet().isWalking());

    panel().callbacks.onDragEnded();
    ASSERT_EQ(placements.size(), 1u);
    const QRectF area = PetGeometry::placementArea(mainDisplay, {170, 122}, false);
    EXPECT_EQ(placements[0], PetPlacement::normalized({600, 250}, area, {170, 122}));
    EXPECT_EQ(controller.savedPlacement(), placements[0]);
    EXPECT_EQ(pet().mood(), PetMood::celebrating);
    EXPECT_EQ(pet().reactionLine(), QStringLiteral("Wheee—new spot!"));
    EXPECT_FALSE(pet().isWalking());

    // The settings echo the report back; the pet does not move.
    panel().setFrame({600, 250, 170, 122});
    controller.setPlacement(placements[0]);
    EXPECT_EQ(panel().rect.topLeft(), QPointF(600, 250));
}

TEST_F(DesktopPetControllerTest, DraggingPastAnEdgePinsThePanelThere)
{
    controller.show();
    panel().setFrame({500, 300, 170, 122});
    panel().callbacks.onDragChanged({5000, -5000});
    EXPECT_EQ(panel().rect.topLeft(), QPointF(1484 - 170, 867 - 122));
    panel().callbacks.onDragEnded();
    EXPECT_EQ(placements.back(), (PetPlacement{1, 1}));

    panel().callbacks.onDragChanged({-5000, 5000});
    panel().callbacks.onDragEnded();
    EXPECT_EQ(placements.back(), (PetPlacement{0, 0}));
    EXPECT_EQ(panel().rect.topLeft(), QPointF(-44, 58));
}

TEST_F(DesktopPetControllerTest, APetDroppedOnASecondDisplayStaysThere)
{
    desktop.displays = {mainDisplay, rightDisplay};
    controller.show();
    // The closed panel overhangs the main display's right edge: its centre is still on it.
    panel().callbacks.onDragChanged({600, -400});
    EXPECT_LE(panel().rect.right(), 1484);
    panel().callbacks.onDragEnded();

    // Dragged from a spot on the second display, the panel belongs to that display's area.
    panel().setFrame({2000, 400, 170, 122});
    panel().callbacks.onDragChanged({100, 0});
    EXPECT_EQ(panel().rect.topLeft(), QPointF(2100, 400));
    panel().callbacks.onDragEnded();
    const QRectF area = PetGeometry::placementArea(rightDisplay, {170, 122}, false);
    EXPECT_EQ(placements.back(), PetPlacement::normalized({2100, 400}, area, {170, 122}));
    controller.setPlacement(placements.back());
    EXPECT_EQ(panel().rect.topLeft(), QPointF(2100, 400)) << "the pet jumped back to the main display";
}

TEST_F(DesktopPetControllerTest, AnIdlePetChasesAfterTwelveSecondsUnlessHeldBack)
{
    struct Case {
        const char *name;
        std::function<void(DesktopPetControllerTest &)> holdBack;
        bool chases;
    };
    const Case cases[] = {
        {"idle", [](DesktopPetControllerTest &) {}, true},
        {"focus session", [](DesktopPetControllerTest &t) { t.pet().setFocusRemainingSeconds(600, false); }, false},
        {"stay put", [](DesktopPetControllerTest &t) { t.controller.setStaysPut(true); }, false},
        {"our windows open", [](DesktopPetControllerTest &t) { t.controller.keepClearOf({QRectF(400, 400, 300, 200)}); }, true},
        {"menu open", [](DesktopPetControllerTest &t) { t.openMenu(true); }, false},
        {"focused mood", [](DesktopPetControllerTest &t) { t.controller.update(PetMood::focused, "Go"); }, false},
    };
    for (const Case &c : cases) {
        DesktopPetControllerTest fresh;
        fresh.controller.show();
        c.holdBack(fresh);
        fresh.scheduler.advance(11900ms);
        EXPECT_NE(fresh.pet().mood(), PetMood::bored) << c.name;
        fresh.scheduler.advance(200ms);
        EXPECT_EQ(fresh.pet().mood() == PetMood::bored, c.chases) << c.name;
    }
}

TEST_F(DesktopPetControllerTest, AMoodFromOutsideRestartsTheWait)
{
    controller.show();
    scheduler.advance(10s);
    controller.update(PetMood::celebrating, QStringLiteral("Nice"));
    scheduler.advance(10s);
    EXPECT_EQ(pet().mood(), PetMood::celebrating);
    scheduler.advance(2100ms);
    EXPECT_EQ(pet().mood(), PetMood::bored);
    EXPECT_EQ(pet().message(), "Psst… got anything fun?");
}

TEST_F(DesktopPetControllerTest, TheChaseStopsShortOfThePointerAndSleepsAfterSixSeconds)
{
    controller.show();
    desktop.pointerAt = {300, 400};
    scheduler.advance(12s);
    ASSERT_EQ(pet().mood(), PetMood::bored);
    scheduler.advance(5900ms);
    const QPointF target = PetGeometry::chaseTarget(desktop.pointerAt, mainDisplay, {170, 122});
    EXPECT_NEAR(QLineF(panel().rect.topLeft(), target).length(), PetMotion::stopDistance, 1.0);
    EXPECT_FALSE(pet().isWalking()) << "a pet that has arrived stops walking";
    EXPECT_EQ(pet().facingDirection(), 1) << "it moved to the left";

    scheduler.advance(200ms);
    EXPECT_EQ(pet().mood(), PetMood::sleeping);
    EXPECT_EQ(pet().message(), "Zzz… boop to wake me");
    // Asleep from 18 s after the show; the first stretch comes 90 s later and lasts 1.2 s.
    scheduler.advance(89800ms);
    EXPECT_EQ(pet().mood(), PetMood::sleeping);
    scheduler.advance(200ms);
    EXPECT_EQ(pet().message(), "Big stretch…");
    scheduler.advance(1200ms);
    EXPECT_EQ(pet().mood(), PetMood::sleeping);
    EXPECT_EQ(pet().message(), "Zzz… boop to wake me");
    scheduler.advance(90000ms);
    EXPECT_EQ(pet().mood(), PetMood::stretching) << "it stretches every 91.2 s";
}

TEST_F(DesktopPetControllerTest, ThePetWalksExactlyWhileItsDrawnPositionChanges)
{
    // Pointers whose chases end on steps under half a pixel, which the window's whole
    // pixels swallow.
    const QPointF pointers[] = {{300, 400}, {911.3, 402.7}, {1000, 130}, {404.5, 700.25}, {1347, 700}};
    for (const QPointF pointer : pointers) {
        DesktopPetControllerTest t;
        t.controller.show();
        t.desktop.pointerAt = pointer;
        t.scheduler.advance(12s);
        ASSERT_EQ(t.pet().mood(), PetMood::bored);
        QPointF last = t.panel().rect.topLeft();
        int standingTicks = 0;
        for (int tick = 0; tick < 5 * 60; ++tick) {
            t.scheduler.advance(16ms);
            const QPointF drawn = t.panel().rect.topLeft();
            EXPECT_EQ(t.pet().isWalking(), drawn != last) << pointer.x() << "," << pointer.y() << " tick " << tick;
            standingTicks += drawn == last;
            last = drawn;
        }
        EXPECT_GT(standingTicks, 0) << "the chase never ended for " << pointer.x() << "," << pointer.y();
        const QPointF target = PetGeometry::chaseTarget(pointer, mainDisplay, {170, 122});
        EXPECT_NEAR(QLineF(last, target).length(), PetMotion::stopDistance, 1.0);
    }
}

TEST_F(DesktopPetControllerTest, TheChaseCoversTwoHundredFortyPointsASecond)
{
    controller.show();
    desktop.pointerAt = {100, 800};
    scheduler.advance(12500ms);
    const QPointF before = panel().rect.topLeft();
    scheduler.advance(2s);
    EXPECT_NEAR(QLineF(before, panel().rect.topLeft()).length(), 2 * PetMotion::speed, 3);
}

// The chase keeps its speed in every direction from its first tick, takes one longest step
// after a stall, and goes on from wherever something else (a drag, the window manager) put
// the window instead of jumping back.
TEST_F(DesktopPetControllerTest, TheChaseGoesOnFromAWindowMovedBySomethingElse)
{
    const QPointF pointers[] = {{100, 800}, {1300, 800}, {300, 140}, {400, 700}};
    for (const QPointF pointer : pointers) {
        SCOPED_TRACE(::testing::Message() << pointer.x() << "," << pointer.y());
        DesktopPetControllerTest t;
        t.controller.show();
        t.desktop.pointerAt = pointer;
        const QPointF placed = t.panel().rect.topLeft();
        t.scheduler.advance(12s);
        ASSERT_EQ(t.pet().mood(), PetMood::bored);
        EXPECT_EQ(t.panel().rect.topLeft(), placed) << "the chase starts where the pet stands";
        t.scheduler.advance(160ms);
        EXPECT_NEAR(QLineF(placed, t.panel().rect.topLeft()).length(), 0.16 * PetMotion::speed, 1.5);
        const QPointF before = t.panel().rect.topLeft();
        // 62 ticks of 16 ms.
        t.scheduler.advance(992ms);
        EXPECT_NEAR(QLineF(before, t.panel().rect.topLeft()).length(), 0.992 * PetMotion::speed, 2);

        // A stall: the next tick comes half a second late.
        const QPointF stalled = t.panel().rect.topLeft();
        t.clock.advance(500ms);
        t.scheduler.advance(0ms);
        EXPECT_NEAR(QLineF(stalled, t.panel().rect.topLeft()).length(),
                    PetMotion::longestTimeStep * PetMotion::speed, 1.5);

        const QPoint movedTo(720, 430);
        t.panel().rect.moveTopLeft(movedTo);
        t.scheduler.advance(16ms);
        EXPECT_NEAR(QLineF(movedTo, t.panel().rect.topLeft()).length(), 0.016 * PetMotion::speed, 1.5);
        t.scheduler.advance(496ms);
        EXPECT_NEAR(QLineF(movedTo, t.panel().rect.topLeft()).length(), 0.512 * PetMotion::speed, 2);
    }
}

TEST_F(DesktopPetControllerTest, TheChaseFollowsThePointerOntoAnotherDisplay)
{
    desktop.displays = {mainDisplay, rightDisplay};
    controller.show();
    desktop.pointerAt = {2500, 600};
    scheduler.advance(17s);
    const QPointF target = PetGeometry::chaseTarget(desktop.pointerAt, rightDisplay, {170, 122});
    EXPECT_NEAR(QLineF(panel().rect.topLeft(), target).length(), PetMotion::stopDistance, 1.0);
    EXPECT_EQ(pet().facingDirection(), -1);
}

TEST_F(DesktopPetControllerTest, OpeningTheMenuOrHidingStopsTheChase)
{
    controller.show();
    desktop.pointerAt = {300, 400};
    scheduler.advance(12500ms);
    openMenu(true);
    const QRectF frozen = panel().rect;
    scheduler.advance(1s);
    EXPECT_EQ(panel().rect, frozen);
    EXPECT_FALSE(pet().isWalking());

    controller.hide();
    EXPECT_FALSE(panel().onScreen);
    EXPECT_FALSE(pet().isDialogueVisible());
    EXPECT_FALSE(controller.isVisible());
}

TEST_F(DesktopPetControllerTest, MenuCommandsCloseTheMenuAndReachTheOwner)
{
    controller.show();
    openMenu(true);
    panel().callbacks.onAction(PetAction::pepTalk);
    EXPECT_FALSE(pet().isDialogueVisible());
    EXPECT_EQ(actions, std::vector<PetAction>{PetAction::pepTalk});
}

TEST_F(DesktopPetControllerTest, ResetPutsThePetBackAndStartsItsWaitAfresh)
{
    controller.setPlacement({0.5, 0.5});
    controller.show();
    const QRectF placed = panel().rect;
    desktop.pointerAt = {300, 400};
    scheduler.advance(18100ms);
    ASSERT_EQ(pet().mood(), PetMood::sleeping);
    ASSERT_NE(panel().rect, placed);

    // Once from sleep, once from a focus session that held the pet back: after a reset the
    // pet stands at its placement and chases 12 s later, with no stretch left over.
    for (const char *from : {"asleep", "focus session"}) {
        controller.reset();
        EXPECT_EQ(panel().rect, placed) << from;
        EXPECT_EQ(pet().mood(), PetMood::idle) << from;
        scheduler.advance(11900ms);
        EXPECT_EQ(pet().mood(), PetMood::idle) << from;
        scheduler.advance(200ms);
        EXPECT_EQ(pet().mood(), PetMood::bored) << from;
        pet().setFocusRemainingSeconds(600, false);
        controller.update(PetMood::focused, QStringLiteral("Go"));
    }
}

TEST_F(DesktopPetControllerTest, LettingGoOfStayPutStartsTheWholeWaitAgain)
{
    const std::pair<const char *, std::function<void(DesktopPetController &, bool)>> switches[] = {
        {"stay put", [](DesktopPetController &pet, bool on) { pet.setStaysPut(on); }}};
    for (const auto &[name, hold] : switches) {
        DesktopPetControllerTest t;
        t.controller.show();
        t.scheduler.advance(10s);
        hold(t.controller, true);
        t.scheduler.advance(5s);
        EXPECT_EQ(t.pet().mood(), PetMood::idle) << name;
        hold(t.controller, false);
        t.scheduler.advance(11900ms);
        EXPECT_EQ(t.pet().mood(), PetMood::idle) << name << ": the wait counted the time held";
        t.scheduler.advance(200ms);
        EXPECT_EQ(t.pet().mood(), PetMood::bored) << name;
    }
}

TEST_F(DesktopPetControllerTest, AnInterruptedStretchIsLeftAsItIs)
{
    controller.show();
    scheduler.advance(18s + 90s + 100ms);
    ASSERT_EQ(pet().mood(), PetMood::stretching);
    // Opening the menu mid-stretch ends the cycle; closing it schedules nothing for a
    // stretching pet, which stays so until something sets its mood.
    openMenu(true);
    openMenu(false);
    scheduler.advance(200s);
    EXPECT_EQ(pet().mood(), PetMood::stretching);
    EXPECT_EQ(pet().message(), "Big stretch…");
    controller.update(PetMood::idle, QStringLiteral("Hi"));
    scheduler.advance(12100ms);
    EXPECT_EQ(pet().mood(), PetMood::bored);
}

TEST(PetMotion, NextOriginSteps)
{
    struct Case {
        const char *name;
        QPointF target;
        double deltaTime;
        QPointF expected;
    };
    const Case cases[] = {
        {"within the stop distance", {18, 0}, 0.016, {0, 0}},
        {"one tick at speed", {100, 0}, 0.025, {6, 0}},
        {"never past the stop distance", {20, 0}, 0.05, {2, 0}},
        {"a stall moves at most 12", {0, 300}, 3.0, {0, 12}},
        {"negative time step", {100, 0}, -1, {0, 0}},
    };
    for (const Case &c : cases) {
        const QPointF next = PetMotion::nextOrigin({0, 0}, c.target, c.deltaTime);
        EXPECT_NEAR(next.x(), c.expected.x(), 1e-9) << c.name;
        EXPECT_NEAR(next.y(), c.expected.y(), 1e-9) << c.name;
    }
}

// Our windows the pet must not cover (the welcome window, the control window, a dialog, the
// HUD): the pet steps beside them, or out of sight where nothing beside them is free, and
// comes back to its place when they go.
TEST_F(DesktopPetControllerTest, StandsClearOfOurWindowsWhileTheyAreOpenAndComesBackAfter)
{
    const PetScreen small{{0, 0, 640, 480}, {0, 0, 640, 480}};
    const auto centred = [](const PetScreen &screen) {
        return QRectF(screen.frame.center() - QPointF(260, 190), QSizeF(520, 380));
    };
    // A HUD over the default place, and a window over the free room left of it.
    const std::vector<QRectF> hudAndDialog{{1250, 60, 190, 150}, {900, 40, 340, 260}};
    const struct {
        const char *name;
        PetScreen screen;
        PetPlacement placement;
        bool showFirst; // the pet was out before the windows came up
        bool fits;      // a place beside the windows exists
        std::vector<QRectF> windows;
    } cases[] = {
        {"default place", mainDisplay, {1, 0}, true, true, {centred(mainDisplay)}},
        {"stored place over the centre", mainDisplay, {0.5, 0.5}, true, true, {centred(mainDisplay)}},
        {"shown while the window is up", mainDisplay, {0.5, 0.5}, false, true, {centred(mainDisplay)}},
        {"default place under a HUD beside a dialog", mainDisplay, {1, 0}, true, true, hudAndDialog},
        {"640 x 480 screen", small, {1, 0}, true, false, {centred(small)}},
        {"640 x 480 screen, shown while the window is up", small, {0.5, 0.5}, false, false, {centred(small)}},
    };
    for (const auto &c : cases) {
        // The twin takes the same steps with no window about.
        DesktopPetControllerTest t, twin;
        for (DesktopPetControllerTest *pet : {&t, &twin}) {
            pet->desktop.displays = {c.screen};
            pet->controller.setPlacement(c.placement);
        }
        const auto clearOf = [&](const std::vector<QRectF> &windows, const char *step) {
            for (const QRectF &window : windows) {
                if (t.panel().onScreen) {
                    EXPECT_FALSE(t.panel().rect.intersects(window)) << c.name << ", " << step;
                }
            }
            EXPECT_EQ(t.panel().onScreen, c.fits) << c.name << ", " << step;
            EXPECT_TRUE(t.controller.isVisible()) << c.name << ", " << step;
        };
        // Two rounds in the same fixture: the second starts from what the first left.
        for (int round = 0; round < 2; ++round) {
            const bool shownBefore = c.showFirst || round > 0;
            if (shownBefore)
                t.controller.show();
            const QRectF home = shownBefore ? t.panel().rect : QRectF();
            twin.controller.show();
            twin.openMenu(true);
            twin.openMenu(false);
            t.controller.keepClearOf(c.windows);
            if (!shownBefore)
                t.controller.show();
            clearOf(c.windows, "opened");
            // Beside one window the shortest way: from over its centre that is straight up.
            if (c.fits && shownBefore && c.windows.size() == 1 && !home.intersects(c.windows[0])) {
                EXPECT_EQ(t.panel().rect, home) << c.name << ": already clear, not moved";
            } else if (c.fits && shownBefore && c.windows.size() == 1) {
                EXPECT_EQ(t.panel().rect.left(), home.left()) << c.name;
                EXPECT_GT(t.panel().rect.top(), home.top()) << c.name;
            }
            t.openMenu(true);
            clearOf(c.windows, "menu open");
            t.openMenu(false);
            clearOf(c.windows, "menu closed");
            // The first window moved onto wherever the pet stepped to.
            std::vector<QRectF> moved = c.windows;
            moved[0].translate(t.panel().rect.center() - moved[0].center());
            t.controller.keepClearOf(moved);
            if (t.panel().onScreen) {
                EXPECT_FALSE(t.panel().rect.intersects(moved[0])) << c.name << ", window moved";
            }
            t.controller.keepClearOf(c.windows);
            clearOf(c.windows, "window back");

            t.controller.keepClearOf({});
            EXPECT_TRUE(t.panel().onScreen) << c.name << ", closed";
            EXPECT_EQ(t.panel().rect, twin.panel().rect) << c.name << ", back at its place";
        }
    }
}

// The chase and "stay in one spot" go on as they are, clear of our windows: a pointer over a
// window draws the pet to its edge, never onto it, and a pet that stays put comes back to its
// spot when the window goes.
TEST_F(DesktopPetControllerTest, TheChaseAndAPetThatStaysPutKeepClearOfOurWindows)
{
    const QRectF window(500, 200, 500, 400);
    for (const bool staysPut : {false, true}) {
        DesktopPetControllerTest t;
        t.controller.setPlacement({0.5, 0.2});
        t.controller.setStaysPut(staysPut);
        t.controller.show();
        const QRectF home = t.panel().rect;
        ASSERT_TRUE(home.intersects(window));
        t.controller.keepClearOf({window});
        t.desktop.pointerAt = window.center();
        bool walked = false;
        for (int tick = 0; tick < 20 * 60; ++tick) {
            t.scheduler.advance(16ms);
            walked = walked || t.pet().isWalking();
            ASSERT_TRUE(t.panel().onScreen) << staysPut << " tick " << tick;
            ASSERT_FALSE(t.panel().rect.intersects(window)) << staysPut << " tick " << tick;
        }
        EXPECT_EQ(walked, !staysPut);
        EXPECT_EQ(t.pet().mood(), staysPut ? PetMood::idle : PetMood::sleeping);
        const QRectF beside = t.panel().rect;
        t.controller.keepClearOf({});
        EXPECT_EQ(t.panel().rect, staysPut ? home : beside) << "a pet that stays put goes back to its spot";
    }
}

#include "Effects/ScreenToys/ScreenToyArtwork.h"
#include "Effects/ScreenToys/ScreenToyCanvasView.h"
#include "Effects/ScreenToys/ScreenToyController.h"
#include "Effects/ScreenToys/ScreenToyPOV.h"
#include "Effects/ScreenToys/ScreenToyWhipHandle.h"
#include "Foundation/ScreenGeometry.h"
#include "fakes/FakeAudioOutput.h"
#include "fakes/FakeGlobalPointer.h"
#include "fakes/FakeInputCapture.h"
#include "fakes/FakeOverlayWindowSupport.h"
#include "fakes/FakeReduceMotionProbe.h"
#include "fakes/FakeReactionSources.h"
#include "fakes/ManualClock.h"
#include "support/TestFolders.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <atomic>
#include <set>
#include <future>
#include <thread>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {
struct ToyFixture {
    bool granted = true;
    FakeGlobalPointer pointer;
    FakeInputCapture keys;
    FakeOverlayWindowSupport overlays;
    FakeReduceMotionProbe motion;
    FakeSleepMonitor sleep;
    ManualClock clock;
    std::shared_ptr<FakeAudioOutput::State> device = std::make_shared<FakeAudioOutput::State>();
    TestFolder sounds;
    std::vector<ScreenToyScreen> screens{{7, QRectF(0, 0, 1440, 900), QRectF(0, 0, 1440, 870)}};
    std::unique_ptr<ScreenToyController> toys;

    ToyFixture()
    {
        keys.available = {{InputCaptureLevel::globalFallback, true}};
        toys = std::make_unique<ScreenToyController>(
            [this] { return granted; }, ScreenToyController::Sources{pointer, keys, overlays, motion, &sleep},
            std::make_unique<ScreenToySound>(std::make_unique<FakeAudioOutput>(device), sounds.path()), clock,
            [this] { return screens; });
    }

    // The pointer at a global point (y up).
    void pointAt(QPointF global)
    {
        pointer.moveTo(ScreenGeometry::toQt(global, ScreenGeometry::primaryScreenHeight()).toPoint());
    }
    void clickAt(QPointF global)
    {
        pointAt(global);
        pointer.press();
        pointer.release();
    }
    void wait(std::chrono::milliseconds step)
    {
        clock.advance(step);
        toys->tick();
    }
    // Ticks at 60 Hz for a while.
    void run(std::chrono::milliseconds span)
    {
        for (auto done = 0ms; done < span; done += 16ms)
            wait(16ms);
    }
};
}

TEST(ScreenToyController, RefusalsChangeOnlyTheStatus)
{
    struct Case {
        const char *name;
        bool granted;
        bool compositor;
        bool desktopPointer;
        QString status;
    };
    const Case cases[] = {
        {"no input access", false, true, true, ScreenToyController::permissionNeededText()},
        {"no compositor", true, false, true, ScreenToyController::compositorNeededText()},
        {"no desktop-wide pointer", true, true, false, ScreenToyController::pointerUnavailableText()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ToyFixture f;
        f.granted = c.granted;
        f.overlays.blends = c.compositor;
        f.pointer.startable = c.desktopPointer;
        EXPECT_FALSE(f.toys->equip(ScreenToyKind::blaster));
        EXPECT_EQ(f.toys->activeToy(), std::nullopt);
        EXPECT_EQ(f.toys->status(), c.status);
        EXPECT_TRUE(f.toys->canvases().empty());
        EXPECT_FALSE(f.pointer.isStarted());
        EXPECT_TRUE(f.keys.sources.empty());
    }
}

TEST(ScreenToyController, EquipShowsACanvasPerDisplayAndEscPutsItAway)
{
    ToyFixture f;
    f.screens.push_back({9, QRectF(1440, 0, 1920, 1080), QRectF(1440, 0, 1920, 1080)});
    ASSERT_TRUE(f.toys->equip(ScreenToyKind::waterGun));
    EXPECT_EQ(f.toys->status(), QStringLiteral("Water Gun active · Esc to stop"));
    ASSERT_EQ(f.toys->canvases().size(), 2u);
    EXPECT_EQ(f.toys->canvases()[1]->objectName(), QStringLiteral("plinkly.screenToy.9"));

    // Unplugging a display closes only its canvas; a display whose frame changed gets a new one.
    ScreenToyCanvasView *first = f.toys->canvases()[0];
    f.screens.pop_back();
    emit qGuiApp->primaryScreenChanged(QGuiApplication::primaryScreen());
    ASSERT_EQ(f.toys->canvases().size(), 1u);
    EXPECT_EQ(f.toys->canvases()[0], first);
    f.screens[0].frame = QRectF(0, 0, 1280, 800);
    emit qGuiApp->primaryScreenChanged(QGuiApplication::primaryScreen());
    EXPECT_EQ(f.toys->canvases()[0]->screenFrame(), QRectF(0, 0, 1280, 800));

    FakeInputSource *esc = f.keys.sources.at(InputCaptureLevel::globalFallback);
    esc->send(30, 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.toys->activeToy());
    esc->send(EscapeKeyMonitor::escapeKeyCode, 1);
    QCoreApplication::processEvents(); // the key reaches the GUI thread
    QCoreApplication::processEvents(); // and puts the toy away from the event loop
    EXPECT_EQ(f.toys->activeToy(), std::nullopt);
    EXPECT_EQ(f.toys->status(), std::nullopt);
    EXPECT_TRUE(f.toys->canvases().empty());
    EXPECT_FALSE(f.pointer.isStarted());
}

TEST(ScreenToyController, SleepPutsTheToyAway)
{
    ToyFixture f;
    ASSERT_TRUE(f.toys->equip(ScreenToyKind::grenade));
    ASSERT_TRUE(f.sleep.running);
    f.sleep.send(SleepTransition::didWake);
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.toys->activeToy());
    f.sleep.send(SleepTransition::willSleep);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.toys->activeToy(), std::nullopt);
    EXPECT_FALSE(f.sleep.running);
}

// Whichever way the toy goes, its artwork, the images made from it and its sounds go too,
// and the next toy has them again.
TEST(ScreenToyController, PuttingTheToyAwayFreesItsArtworkAndSounds)
{
    ToyFixture f;
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"stop", [&] { f.toys->stop(); }},
        {"sleep", [&] { f.sleep.send(SleepTransition::willSleep); }},
        {"Esc", [&] { f.keys.sources.at(InputCaptureLevel::globalFallback)->send(EscapeKeyMonitor::escapeKeyCode, 1); }},
    };
    for (const auto &[name, putAway] : ways) {
        ASSERT_TRUE(f.toys->equip(ScreenToyKind::grenade)) << name;
        f.clickAt(QPointF(600, 400));
        f.run(1500ms);
        ASSERT_FALSE(f.toys->canvases().empty());
        f.toys->canvases()[0]->render();
        EXPECT_TRUE(ScreenToyArtwork::isLoaded()) << name;
        EXPECT_TRUE(f.toys->sound()->isLoaded()) << name;
        putAway();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        ASSERT_EQ(f.toys->activeToy(), std::nullopt) << name;
        EXPECT_FALSE(ScreenToyArtwork::isLoaded()) << name;
        EXPECT_FALSE(f.toys->sound()->isLoaded()) << name;
    }
}

// The output may still be opening, waiting on a sound server slow to answer, when the toy is
// put away: the interface goes on, and the output is closed once the open is done.
TEST(ScreenToyController, PuttingTheToyAwayWaitsNotForTheSoundOutput)
{
    ToyFixture f;
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    auto reached = std::make_shared<std::atomic<bool>>(false);
    f.device->beforeOpen = [gate, reached] {
        *reached = true;
        gate.wait_for(10s);
    };
    ASSERT_TRUE(f.toys->equip(ScreenToyKind::grenade));
    f.clickAt(QPointF(600, 400));
    f.run(1500ms);
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!*reached && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(*reached);

    const auto before = std::chrono::steady_clock::now();
    f.toys->stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    EXPECT_EQ(f.toys->activeToy(), std::nullopt);

    release.set_value();
    const auto closing = std::chrono::steady_clock::now() + 5s;
    while (f.device->closes < 1 && std::chrono::steady_clock::now() < closing)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(f.device->opens, 1);
    EXPECT_EQ(f.device->closes, 1);
    EXPECT_FALSE(f.toys->sound()->isRunning());
}

TEST(ScreenToyController, WithoutAGlobalEscTheToyStillWorksAndSaysSo)
{
    // With our own windows' keys Esc still puts it away from there; with no key source at
    // all only the stop command does.
    for (const bool ownWindows : {true, false}) {
        SCOPED_TRACE(ownWindows ? "own windows" : "no key source");
        ToyFixture f;
        f.keys.available.clear();
        if (ownWindows)
            f.keys.available[InputCaptureLevel::appOnly] = true;
        ASSERT_TRUE(f.toys->equip(ScreenToyKind::blaster));
        EXPECT_EQ(f.toys->status(), ScreenToyController::escapeUnavailableText());
        f.clickAt(QPointF(300, 300));
        EXPECT_EQ(f.toys->markStore().marks.size(), 1u);
        ASSERT_EQ(f.keys.sources.count(InputCaptureLevel::appOnly), size_t(ownWindows));
        if (ownWindows) {
            f.keys.sources.at(InputCaptureLevel::appOnly)->send(EscapeKeyMonitor::escapeKeyCode, 1);
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
        } else {
            f.toys->stop();
        }
        EXPECT_EQ(f.toys->activeToy(), std::nullopt);
        EXPECT_TRUE(f.keys.sources.empty());
    }
}

TEST(ScreenToyController, AutomaticFireHoldsItsCadence)
{
    ToyFixture f;
    ASSERT_TRUE(f.toys->equip(ScreenToyKind::ak47));
    f.pointAt(QPointF(500, 500));
    f.pointer.press();
    EXPECT_EQ(f.toys->markStore().marks.size(), 1u) << "fires at once";
    f.pointer.press();
    EXPECT_EQ(f.toys->markStore().marks.size(), 1u) << "a second press while firing adds nothing";
    f.wait(50ms);
    EXPECT_EQ(f.toys->markStore().marks.size(), 1u);
    f.wait(50ms);
    EXPECT_EQ(f.toys->markStore().marks.size(), 2u);
    f.wait(100ms);
    EXPECT_EQ(f.toys->markStore().marks.size(), 3u);
    f.pointer.down = false; // released where no event reached us: the tick notices
    f.wait(100ms);
    EXPECT_EQ(f.toys->markStore().marks.size(), 3u);
}

TEST(ScreenToyController, AutomaticFireIsTenRoundsASecondAtTheTimersTick)
{
    ToyFixture f;
    ASSERT_TRUE(f.toys->equip(ScreenToyKind::ak47));
    f.pointAt(QPointF(500, 500));
    f.pointer.press();
    const std::chrono::milliseconds tick(ScreenToyController::tickIntervalMs);
    for (auto held = tick; held < 1s; held += tick)
        f.wait(tick);
    EXPECT_EQ(f.toys->markStore().marks.size(), 10u);
}

// A stall (a busy event loop, a suspended process) fires one round, not the rounds it
// missed, and the cadence goes on from the stall; a new press after a release fires at once
// and keeps its own cadence.
TEST(ScreenToyController, AutomaticFireAfterAStallOrANewPressKeepsTheCadence)
{
    ToyFixture f;
    ASSERT_TRUE(f.toys->equip(ScreenToyKind::ak47));
    f.pointAt(QPointF(500, 500));
    // Marks fade after a while; every round leaves one at its own moment.
    std::set<double> fired;
    const auto rounds = [&] {
        for (const ScreenToyMark &mark : f.toys->markStore().marks)
            fired.insert(mark.time);
        return fired.size();
    };
    const auto wait = [&](std::chrono::milliseconds step) {
        f.wait(step);
        return rounds();
    };
    for (int burst = 0; burst < 2; ++burst) {
        SCOPED_TRACE(burst);
        const std::size_t start = rounds();
        f.pointer.press();
        EXPECT_EQ(rounds(), start + 1) << "fires at once";
        EXPECT_EQ(wait(30ms), start + 1);
        EXPECT_EQ(wait(1000ms), start + 2) << "one round for the stall";
        EXPECT_EQ(wait(16ms), start + 2);
        EXPECT_EQ(wait(90ms), start + 3) << "the next one a round's interval after the stall";
        // Steady again: a round each tenth of a second, whatever the tick.
        for (int tick = 0; tick < 60; ++tick)
            wait(16ms);
        EXPECT_EQ(rounds(), start + 12);
        f.pointer.release();
        const std::size_t released = wait(16ms);
        EXPECT_EQ(wait(300ms), released) << "nothing after the release";
    }

    // Released and pressed again between two ticks: the new press fires at once and counts
    // its interval from itself.
    f.pointer.press();
    const std::size_t held = wait(50ms);
    f.pointer.release();
    f.pointer.press();
    EXPECT_EQ(rounds(), held + 1);
    EXPECT_EQ(wait(60ms), held + 1);
    EXPECT_EQ(wait(48ms), held + 2);
}

TEST(ScreenToyController, MarksAndPatchesExpireAndTheTickStops)
{
    ToyFixture f;
    ASSERT_TRUE(f.toys->equip(ScreenToyKind::blaster));
    EXPECT_FALSE(f.toys->isAnimating()) << "nothing moves yet";
    for (int i = 0; i < 13; ++i)
        f.clickAt(QPointF(100 + 50 * i, 400));
    ASSERT_EQ(f.toys->markStore().marks.size(), 12u);
    EXPECT_EQ(f.toys->markStore().marks.front().point, QPointF(150, 400));
    EXPECT_EQ(f.toys->markCount(), 12);
    EXPECT_TRUE(f.toys->isAnimating());
    f.run(3000ms);
    EXPECT_EQ(f.toys->markCount(), 0);
    EXPECT_FALSE(f.toys->isAnimating());

    ASSERT_TRUE(f.toys->equip(ScreenToyKind::waterGun));
    f.clickAt(QPointF(600, 400));
    EXPECT_EQ(f.toys->markStore().marks.size(), 1u);
    EXPECT_EQ(f.toys->wetness().patches.size(), 1u);
    f.run(3200ms);
    EXPECT_TRUE(f.toys->markStore().marks.empty());
    EXPECT_EQ(f.toys->markCount(), 1) << "the patch outlives its mark";
    f.run(1400ms);
    EXPECT_EQ(f.toys->markCount(), 0);
    EXPECT_FALSE(f.toys->isAnimating());
}

TEST(ScreenToyController, ShotOriginsAndThrowStarts)
{
    ToyFixture f;
    ASSERT_TRUE(f.toys->equip(ScreenToyKind::blaster));
    f.clickAt(QPointF(300, 700));
    f.clickAt(QPointF(2000, 300)); // on no display
    const auto &marks = f.toys->markStore().marks;
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].shot->origin,
              ScreenToyPOV::layout(f.screens[0].frame, QPointF(300, 700), ScreenToyKind::blaster).muzzle);
    EXPECT_EQ(marks[1].shot->origin, QPointF(2000, 300));

    ASSERT_TRUE(f.toys->equip(ScreenToyKind::grenade));
    f.clickAt(QPointF(300, 700));
    f.clickAt(QPointF(2000, 300));
    const auto &grenades = f.toys->grenades().grenades;
    ASSERT_EQ(grenades.size(), 2u);
    EXPECT_EQ(grenades[0].origin, QPointF(785, 130));
    EXPECT_EQ(grenades[1].origin, QPointF(2065, 30));
    EXPECT_TRUE(f.toys->markStore().marks.empty());
    f.run(1100ms);
    EXPECT_TRUE(f.toys->grenades().grenades[0].didPlayBlast);
}

TEST(ScreenToyController, TheWhipIsSwungByItsHandleNotByClicks)
{
    ToyFixture f;
    ASSERT_TRUE(f.toys->equip(ScreenToyKind::whip));
    ASSERT_TRUE(f.toys->whipHandle());
    ASSERT_TRUE(f.toys->whipMotion());
    EXPECT_EQ(f.toys->whipMotion()->anchor, QPointF(1380, 435));
    f.clickAt(QPointF(500, 500));
    EXPECT_TRUE(f.toys->markStore().marks.empty());

    ScreenToyWhipHandle *handle = f.toys->whipHandle();
    double time = uptimeSeconds(f.clock.uptime());
    handle->onBegin(QPointF(0, 0), time);
    QPointF at = f.toys->whipMotion()->anchor;
    for (int i = 0; i < 6; ++i) {
        at += QPointF(-20, 0);
        time += 1.0 / 120;
        handle->onDrag(at, time);
    }
    for (int i = 0; i < 2; ++i) {
        at += QPointF(20, 0);
        time += 1.0 / 120;
        handle->onDrag(at, time);
    }
    handle->onEnd();
    f.run(200ms);
    ASSERT_EQ(f.toys->markStore().marks.size(), 1u);
    EXPECT_EQ(f.toys->markStore().marks[0].kind, ScreenToyKind::whip);
    EXPECT_FALSE(f.toys->markStore().marks[0].shot);

    f.toys->stop();
    EXPECT_FALSE(f.toys->whipHandle());
    EXPECT_FALSE(f.toys->whipMotion());
}

TEST(ScreenToyController, HandToneReachesEveryCanvas)
{
    ToyFixture f;
    ASSERT_TRUE(f.toys->equip(ScreenToyKind::blaster));
    f.toys->setHandTone(ScreenToyHandTone::brown);
    EXPECT_EQ(f.toys->canvases()[0]->scene().handTone, ScreenToyHandTone::brown);
    f.toys->stop();
    f.toys->stop();
    EXPECT_EQ(f.toys->activeToy(), std::nullopt);
}

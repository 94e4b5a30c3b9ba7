#include "Effects/ScreenToys/ScreenToyGrenadeStore.h"
#include "Effects/ScreenToys/ScreenToyHandTone.h"
#include "Effects/ScreenToys/ScreenToyMarkStore.h"
#include "Effects/ScreenToys/ScreenToyWetness.h"
#include "Effects/ScreenToys/WhipMotion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

ScreenToyMark markAt(double time)
{
    return ScreenToyMark{ScreenToyKind::blaster, QPointF(time, 0), time, std::nullopt};
}

ScreenToyShot shot(ScreenToyKind kind)
{
    return ScreenToyShot{QPointF(0, 0), QPointF(100, 50), 0.0, kind};
}
}

TEST(ScreenToyChoices, RawValuesAreExact)
{
    EXPECT_EQ(fromRaw<ScreenToyKind>(u"waterGun"), ScreenToyKind::waterGun);
    EXPECT_FALSE(fromRaw<ScreenToyKind>(u"Water Gun"));
    EXPECT_EQ(ScreenToyKinds::title(ScreenToyKind::ak47), QStringLiteral("AK-47"));
    EXPECT_EQ(fromRawOrFirst<ScreenToyHandTone>(u"purple"), ScreenToyHandTone::original);
    EXPECT_EQ(fromRaw<ScreenToyHandTone>(u"deep"), ScreenToyHandTone::deep);
}

TEST(ScreenToyMarkStore, EvictsTheOldestAndExpiresAtTheLifetime)
{
    ScreenToyMarkStore store;
    for (int i = 0; i < 13; ++i)
        store.record(markAt(0.125 * i));
    ASSERT_EQ(store.marks.size(), 12u);
    EXPECT_EQ(store.marks.front().time, 0.125);

    store.expire(3.125);
    EXPECT_EQ(store.marks.front().time, 0.25) << "a mark exactly 3 s old is gone";
    store.record(markAt(10.0));
    EXPECT_EQ(store.marks.size(), 1u);
}

TEST(ScreenToyShot, Curves)
{
    struct Case {
        const char *name;
        ScreenToyKind kind;
        double elapsed;
        bool reduceMotion;
        double recoil, flash, impact;
        bool projectile;
    };
    const double rapidPeak = 0.7744 * 15;
    const Case cases[] = {
        {"fired", ScreenToyKind::blaster, 0, false, 0, 1, 0, true},
        {"recoil peak", ScreenToyKind::blaster, 0.12 * 0.18, false, 0.7744 * 7, 1 - 0.0216 / 0.065, 0, true},
        {"rapid peak", ScreenToyKind::ak47, 0.12 * 0.095, false, rapidPeak, 1 - 0.0114 / 0.045, 0, true},
        {"arrives", ScreenToyKind::blaster, 0.12, false, 7 * std::pow(1 - 0.12 / 0.18, 2), 0, 1, true},
        {"rapid arrives", ScreenToyKind::ak47, 0.08, false, 15 * std::pow(1 - 0.08 / 0.095, 2), 0, 1, true},
        {"flying past", ScreenToyKind::blaster, 0.1201, false, 7 * std::pow(1 - 0.1201 / 0.18, 2), 0, 1 - 0.0001 / 2.88, false},
        {"faded", ScreenToyKind::blaster, 3.0, false, 0, 0, 0, false},
        {"before firing", ScreenToyKind::blaster, -0.01, false, 0, 0, 0, false},
        {"still", ScreenToyKind::blaster, 0, true, 0, 0, 1, false},
        {"still later", ScreenToyKind::ak47, 1.5, true, 0, 0, 0.5, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ScreenToyShot s = shot(c.kind);
        const double at = s.firedAt + c.elapsed;
        EXPECT_NEAR(s.recoil(at, c.reduceMotion), c.recoil, 1e-9);
        EXPECT_NEAR(s.muzzleFlashOpacity(at, c.reduceMotion), c.flash, 1e-9);
        EXPECT_NEAR(s.impactOpacity(at, c.reduceMotion), c.impact, 1e-9);
        EXPECT_EQ(s.projectile(at, c.reduceMotion).has_value(), c.projectile);
    }
    const ScreenToyShot s = shot(ScreenToyKind::blaster);
    EXPECT_EQ(*s.projectile(0.06, false), QPointF(50, 25));
}

TEST(ScreenToyWetness, MergesIntoYoungNearbyPatchesOnly)
{
    struct Case {
        const char *name;
        double hitX;
        double hitTime;
        std::size_t patches;
    };
    const Case cases[] = {
        {"31.9 pt after 1.4 s merges", 131.9, 1.4, 1},
        {"32 pt is too far", 132.0, 1.4, 2},
        {"1.6 s after creation starts anew", 110.0, 1.6, 2},
        {"dried after 4.5 s", 100.0, 4.5, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScreenToyWetness wetness;
        wetness.addImpact(QPointF(100, 100), 0.0);
        wetness.addImpact(QPointF(c.hitX, 100), c.hitTime);
        EXPECT_EQ(wetness.patches.size(), c.patches);
    }

    ScreenToyWetness wetness;
    wetness.addImpact(QPointF(100, 100), 0.0);
    wetness.addImpact(QPointF(110, 100), 0.5);
    const ScreenToyWetPatch &patch = wetness.patches.front();
    EXPECT_EQ(patch.center, QPointF(105, 100));
    EXPECT_EQ(patch.volume, 2.0);
    EXPECT_EQ(patch.refreshedAt, 0.5);
    for (double t : {0.625, 0.75, 0.875})
        wetness.addImpact(QPointF(105, 100), t);
    EXPECT_EQ(wetness.patches.front().volume, 4.0);

    // Refreshed a moment ago, but the merge window counts from creation.
    wetness.addImpact(QPointF(105, 100), 1.6);
    EXPECT_EQ(wetness.patches.size(), 2u);
    // Expiry counts from the last hit: the first patch lives on until 0.875 + 4.5.
    wetness.expire(5.25);
    EXPECT_EQ(wetness.patches.size(), 2u);
    wetness.expire(5.375);
    EXPECT_EQ(wetness.patches.size(), 1u);
}

TEST(ScreenToyWetness, TheNewerPatchAbsorbsAndTheNinthEvicts)
{
    ScreenToyWetness wetness;
    wetness.addImpact(QPointF(0, 0), 0.0);
    wetness.addImpact(QPointF(40, 0), 0.1);
    wetness.addImpact(QPointF(20, 0), 0.2);
    ASSERT_EQ(wetness.patches.size(), 2u);
    EXPECT_EQ(wetness.patches[1].volume, 2.0);
    EXPECT_EQ(wetness.patches[0].volume, 1.0);

    ScreenToyWetness crowded;
    for (int i = 0; i < 9; ++i)
        crowded.addImpact(QPointF(100.0 * i, 0), 0.1 * i);
    ASSERT_EQ(crowded.patches.size(), 8u);
    EXPECT_EQ(crowded.patches.front().center, QPointF(100, 0));
    EXPECT_EQ(crowded.sequence, 9u);
}

TEST(ScreenToyWetness, SeedsAndDroplets)
{
    EXPECT_EQ(ScreenToyWetness::seed(QPointF(0, 0), 1), 1u);
    EXPECT_EQ(ScreenToyWetness::seed(QPointF(0.5, 0), 0), 0x9E3779B185EBCA87ull) << "halves round away from zero";
    EXPECT_EQ(ScreenToyWetness::seed(QPointF(0, -1), 0), std::uint64_t(-1) * 0xC2B2AE3D27D4EB4Full);
    EXPECT_NO_FATAL_FAILURE(ScreenToyWetness::seed(QPointF(1e300, -1e300), 0));

    ScreenToyWetness wetness;
    wetness.addImpact(QPointF(10, 10), 0.0);
    wetness.addImpact(QPointF(10.2, 10), 2.0);
    ASSERT_EQ(wetness.patches.size(), 2u);
    EXPECT_NE(wetness.patches[0].seed, wetness.patches[1].seed);

    wetness.addImpact(QPointF(notANumber, 10), 2.1);
    EXPECT_EQ(wetness.patches.size(), 2u) << "a point that is no number leaves no patch";

    const ScreenToyWetPatch patch{QPointF(0, 0), 0, 0xFFFF, 1, std::nullopt};
    const auto droplets = patch.droplets();
    ASSERT_EQ(droplets.size(), 7u);
    // seed mod 31 = 1 and (0xFFFF >> 0) & 15 = 15: the first bead sits 22 pt out at 0.01 rad.
    EXPECT_NEAR(droplets[0].x(), std::cos(0.01) * 22, 1e-9);
    EXPECT_NEAR(droplets[0].y(), 0.65 * std::sin(0.01) * 22, 1e-9);
}

TEST(ScreenToyGrenade, FlightBounceAndArcHeight)
{
    const ScreenToyGrenade grenade{QPointF(0, 0), QPointF(100, 0), 5.0, false};
    struct Case {
        double elapsed;
        QPointF expected;
    };
    const Case cases[] = {
        {-1.0, QPointF(0, 0)}, {0.0, QPointF(0, 0)},     {0.325, QPointF(50, 80)}, {0.65, QPointF(100, 0)},
        {0.8, QPointF(100, 26)}, {0.95, QPointF(100, 0)}, {3.0, QPointF(100, 0)},
    };
    for (const Case &c : cases) {
        const QPointF p = grenade.position(5.0 + c.elapsed);
        EXPECT_NEAR(p.x(), c.expected.x(), 1e-9) << c.elapsed;
        EXPECT_NEAR(p.y(), c.expected.y(), 1e-9) << c.elapsed;
    }
    EXPECT_EQ((ScreenToyGrenade{QPointF(0, 0), QPointF(1000, 0), 0, false}.arcHeight()), 200.0);
    EXPECT_EQ((ScreenToyGrenade{QPointF(0, 0), QPointF(400, 300), 0, false}.arcHeight()), 140.0);
}

TEST(ScreenToyGrenadeStore, KeepsFourAndReportsEachDetonationOnce)
{
    ScreenToyGrenadeStore store;
    for (int i = 0; i < 5; ++i)
        store.throwGrenade(QPointF(0, 0), QPointF(i, 0), 0.25 * i);
    ASSERT_EQ(store.grenades.size(), 4u);
    EXPECT_EQ(store.grenades.front().target, QPointF(1, 0));

    EXPECT_EQ(store.detonations(1.25), 0);
    EXPECT_EQ(store.detonations(1.3125), 1);
    EXPECT_EQ(store.detonations(1.5625), 1);
    EXPECT_EQ(store.detonations(1.5625), 0);
    EXPECT_EQ(store.detonations(2.25), 2);
    EXPECT_EQ(store.detonations(7.25), 0);
    EXPECT_EQ(store.grenades.size(), 3u) << "thrown 7 s ago is gone";
}

namespace {
// A rope taken by the handle at the origin and left to hang still.
WhipMotion grabbedRope()
{
    WhipMotion whip;
    whip.begin(QPointF(0, 0), 0.0);
    return whip;
}
}

TEST(WhipMotion, BeginLaysOutElevenJoints)
{
    WhipMotion whip = grabbedRope();
    ASSERT_EQ(whip.points.size(), 11u);
    EXPECT_EQ(whip.points[10], QPointF(-240, -30));
    EXPECT_EQ(whip.points[4], QPointF(-96, -12));
    EXPECT_EQ(whip.previousPoints, whip.points);

    whip.points[3] = QPointF(7, 7);
    whip.begin(QPointF(5, 5), 1.0);
    EXPECT_EQ(whip.points[3], QPointF(7, 7)) << "an existing rope keeps its joints";

    WhipMotion unbegun;
    EXPECT_FALSE(unbegun.advance(1.0 / 60));
    unbegun.isSettled = false;
    EXPECT_FALSE(unbegun.advance(1.0 / 60));
    unbegun.drag(QPointF(notANumber, 0), 0.0);
    EXPECT_TRUE(unbegun.points.empty());
}

TEST(WhipMotion, StepLengthIsClamped)
{
    // A joint moving freely falls by g·dt² per step; the drop tells the step length used.
    struct Case {
        double dt;
        double used;
    };
    for (const Case c : {Case{0, 1.0 / 240}, Case{1, 1.0 / 30}, Case{notANumber, 1.0 / 240}, Case{1.0 / 60, 1.0 / 60}}) {
        WhipMotion whip = grabbedRope();
        whip.segmentLength = 100; // slack, so the constraint passes leave the tip alone
        const double before = whip.points[10].y();
        whip.advance(c.dt);
        EXPECT_NEAR(whip.points[10].y(), before - 180 * c.used * c.used, 1e-9) << c.dt;
    }
}

namespace {
struct Swing {
    WhipMotion whip = grabbedRope();
    double time = 0;
    // `samples` pointer samples, each `step` apart and 1/120 s later than the last.
    void move(QPointF step, int samples)
    {
        for (int i = 0; i < samples; ++i) {
            time += 1.0 / 120;
            whip.drag(whip.lastDragPoint + step, time);
        }
    }
};
}

TEST(WhipMotion, AFastStrokeAndPullBackCracksOnce)
{
    Swing swing;
    swing.move(QPointF(20, 0), 6); // 120 pt at 2400 pt/s: armed
    ASSERT_TRUE(swing.whip.swingDirection);
    swing.move(QPointF(-20, 0), 1);
    EXPECT_FALSE(swing.whip.pendingCrack) << "20 pt of pull-back is not enough";
    swing.move(QPointF(-20, 0), 1);
    ASSERT_TRUE(swing.whip.pendingCrack);
    EXPECT_EQ(swing.whip.crackDirection, QPointF(1, 0));
    EXPECT_NEAR(swing.whip.lastLashSpeed, 2400, 1e-6);

    // While a crack is pending nothing arms or cracks.
    swing.move(QPointF(20, 0), 8);
    EXPECT_FALSE(swing.whip.swingDirection);

    const QPointF tipBefore = swing.whip.points[10];
    EXPECT_FALSE(swing.whip.advance(0.05)) << "a step is at most 1/30 s, short of the 0.055 s delay";
    EXPECT_TRUE(swing.whip.advance(1.0 / 30));
    EXPECT_EQ(swing.whip.lashCount, 1);
    EXPECT_GT(swing.whip.points[10].x(), tipBefore.x()) << "the tip is kicked along the stroke";
    EXPECT_FALSE(swing.whip.advance(1.0 / 60));
}

TEST(WhipMotion, CrackRules)
{
    struct Case {
        const char *name;
        double strokeStep; // points per 1/120 s sample
        int strokeSamples;
        double pauseAfterStroke;
        double pullbackStep; // 2 samples
        double lastLashTime;
        bool cracks;
    };
    const double never = -std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"first crack is allowed at once", 20, 6, 0, -20, never, true},
        {"slow stroke never arms", 9, 14, 0, -20, never, false},
        {"short stroke never arms", 20, 5, 0, -20, never, false},
        {"too late after arming", 20, 6, 0.5, -20, never, false},
        {"sideways is no pull-back", 20, 6, 0, 0, never, false},
        {"too soon after the last crack", 20, 6, 0, -20, 0.0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Swing swing;
        swing.whip.lastLashTime = c.lastLashTime;
        swing.move(QPointF(c.strokeStep, 0), c.strokeSamples);
        swing.time += c.pauseAfterStroke;
        const QPointF back = c.pullbackStep == 0 ? QPointF(0, 20) : QPointF(c.pullbackStep, 0);
        swing.move(back, 2);
        EXPECT_EQ(swing.whip.pendingCrack.has_value(), c.cracks);
    }
}

TEST(WhipMotion, ZeroDistanceSampleOnlyRefreshesTiming)
{
    Swing swing;
    swing.move(QPointF(20, 0), 6);
    const double distance = swing.whip.swingDistance;
    swing.whip.drag(swing.whip.lastDragPoint, 9.0);
    EXPECT_EQ(swing.whip.lastDragTime, 9.0);
    EXPECT_EQ(swing.whip.swingDistance, distance);
    EXPECT_TRUE(swing.whip.swingDirection);
}

TEST(WhipMotion, ReleasedRopeSettlesIntoItsHangingPose)
{
    WhipMotion whip = grabbedRope();
    whip.isDragging = false;
    int steps = 0;
    while (!whip.isSettled && steps < 2000) {
        whip.advance(1.0 / 60);
        ++steps;
    }
    ASSERT_TRUE(whip.isSettled);
    for (int i = 1; i < 11; ++i) {
        const QPointF off = whip.points[i] - whip.restPoint(i);
        EXPECT_LE(std::hypot(off.x(), off.y()), 1.5) << i;
    }
    const auto settled = whip.points;
    EXPECT_FALSE(whip.advance(1.0 / 60));
    EXPECT_EQ(whip.points, settled);
}

TEST(WhipMotion, ACrackOnAShortRopeKicksOnlyRealJoints)
{
    WhipMotion whip;
    whip.points = {QPointF(0, 0), QPointF(-24, 0)};
    whip.previousPoints = whip.points;
    whip.isSettled = false;
    whip.pendingCrack = 0.0;
    whip.crackDirection = QPointF(1, 0);
    EXPECT_TRUE(whip.advance(1.0 / 60));
    EXPECT_EQ(whip.lashCount, 1);
}

#include "Effects/Pet/PetAnimator.h"
#include "Effects/Pet/PetPose.h"

#include <gtest/gtest.h>

namespace {
// Where the transform takes the frame's centre and its top-left corner.
struct Mapped {
    QPointF centre;
    QPointF corner;
};

Mapped mapped(const PetPoseState &state)
{
    const QTransform t = PetPose::transform(PetPose::targets(state));
    return {t.map(QPointF(41, 38)), t.map(QPointF(0, 0))};
}

// A point turned clockwise about the frame's centre.
QPointF turned(QPointF point, double degrees)
{
    const double a = degrees * M_PI / 180;
    const QPointF r = point - QPointF(41, 38);
    return QPointF(41, 38) + QPointF(r.x() * std::cos(a) - r.y() * std::sin(a), r.x() * std::sin(a) + r.y() * std::cos(a));
}

void expectNear(QPointF actual, QPointF expected, const char *name)
{
    EXPECT_NEAR(actual.x(), expected.x(), 0.01) << name;
    EXPECT_NEAR(actual.y(), expected.y(), 0.01) << name;
}
}

TEST(PetPose, PoseOfEachState)
{
    PetPoseState gravity;
    gravity.physicsMode = ChaosMode::gravity;
    gravity.physicsBeat = true;
    PetPoseState vortex;
    vortex.physicsMode = ChaosMode::vortex;
    PetPoseState stretching;
    stretching.mood = PetMood::stretching;
    PetPoseState lid;
    lid.lidProgress = 1;
    PetPoseState hovering;
    hovering.hovering = true;
    PetPoseState bobbing;
    bobbing.bobbing = true;
    PetPoseState celebrating;
    celebrating.mood = PetMood::celebrating;
    celebrating.bobbing = true;
    PetPoseState walking;
    walking.isWalking = true;
    walking.walkingStep = true;
    walking.mood = PetMood::celebrating;

    struct Case {
        const char *name;
        PetPoseState state;
        QPointF centre;
        QPointF corner;
    };
    const Case cases[] = {
        {"idle rests one point low", {}, {41, 39}, {0, 1}},
        {"bob hops three points up", bobbing, {41, 35}, {0, -3}},
        {"hover grows by 8 %", hovering, {41, 39}, {41 - 41 * 1.08, 38 - 38 * 1.08 + 1}},
        {"stretching is narrower, taller and 5 higher", stretching, {41, 34}, {41 - 41 * 0.92, 38 - 38 * 1.14 - 4}},
        {"lid at 1 flattens, turns 8 degrees and lowers 5", lid, {41, 44}, {}},
        {"gravity beat squashes 7 lower", gravity, {41, 46}, {}},
        {"vortex off-beat slides 6 left", vortex, {35, 43}, {}},
        {"celebrating sways 4 degrees with the bob", celebrating, turned({41, 35}, 4), turned({0, -3}, 4)},
        {"walking follows the step, not the bob", walking, turned({42.5, 35}, 3.5), {}},
    };
    for (const Case &c : cases) {
        const Mapped m = mapped(c.state);
        expectNear(m.centre, c.centre, c.name);
        if (!c.corner.isNull())
            expectNear(m.corner, c.corner, c.name);
    }

    const PetPoseValues walkValues = PetPose::targets(walking);
    EXPECT_EQ(walkValues.sway, 3.5);
    EXPECT_EQ(walkValues.walkScaleY, 0.97);
    const PetPoseValues lidValues = PetPose::targets(lid);
    const QTransform lidTransform = PetPose::transform(lidValues);
    // A vertical line through the centre leans 8 degrees clockwise: its top moves right.
    EXPECT_GT(lidTransform.map(QPointF(41, 0)).x(), 41);
}

TEST(PetAnimator, SpringsSettleOnTheTargetAndEasesEndOnTime)
{
    PetAnimator animator;
    PetPoseValues targets;
    targets.physicsRotation = 16;
    animator.setTargets(targets, PetCurve::spring(0.30, 0.64));
    EXPECT_FALSE(animator.isSettled());
    animator.advance(0.15);
    EXPECT_GT(animator.values().physicsRotation, 8) << "half a response in, a spring is well on its way";
    for (int frame = 0; frame < 120 && animator.advance(1.0 / 60); ++frame) {
    }
    EXPECT_TRUE(animator.isSettled());
    EXPECT_EQ(animator.values().physicsRotation, 16);

    targets.hoverScale = 1.08;
    animator.setTargets(targets, PetCurve::easeInOut(0.18));
    animator.advance(0.09);
    EXPECT_NEAR(animator.values().hoverScale, 1.04, 1e-9);
    EXPECT_FALSE(animator.advance(0.09));
    EXPECT_EQ(animator.values().hoverScale, 1.08);

    targets.sway = -4;
    animator.setTargets(targets, PetCurve::immediate());
    EXPECT_EQ(animator.values().sway, -4);
    EXPECT_TRUE(animator.isSettled());
}

// The idle hop on screens of either density: each frame comes once something drawn has moved a
// whole device pixel (never much more), and the pose rests, drawn exactly, once what is left of
// the spring stays within a pixel.
TEST(PetAnimator, FramesComeOnWholePixelsAndTheHopComesToRest)
{
    for (const double ratio : {1.0, 2.0}) {
        for (const bool bobbing : {true, false}) {
            PetAnimator animator;
            animator.setDevicePixelRatio(ratio);
            PetPoseState state;
            state.bobbing = !bobbing;
            animator.setTargets(PetPose::targets(state), PetCurve::immediate());
            state.bobbing = bobbing;
            const PetPoseValues target = PetPose::targets(state);
            animator.setTargets(target, PetCurve::spring(0.38, 0.62));
            int frames = 0;
            double elapsed = 0;
            for (auto next = animator.secondsToNextPixel(); next && frames < 100;
                 next = animator.secondsToNextPixel(), ++frames) {
                const PetPoseValues drawn = animator.values();
                animator.advance(*next);
                elapsed += *next;
                const double moved = PetPose::drawnDistance(drawn, animator.values()) * ratio;
                EXPECT_GE(moved, 1) << ratio << " frame " << frames;
                EXPECT_LT(moved, 1.5) << ratio << " frame " << frames;
            }
            // Four points of hop, plus the overshoot there and back.
            EXPECT_GE(frames, int(4 * ratio) - 1) << ratio;
            EXPECT_LE(frames, int(4 * ratio) + 3) << ratio;
            EXPECT_LT(elapsed, 0.5) << ratio;
            animator.finish();
            EXPECT_EQ(animator.values(), target);
            EXPECT_TRUE(animator.isSettled());
        }
    }
}

// A spring stops once within half a device pixel of its target and slower than half a pixel a
// second, and not before: finer pixels never take it less time.
TEST(PetAnimator, ASpringStopsWithinHalfADevicePixel)
{
    double settledAt[2] = {};
    for (const int i : {0, 1}) {
        const double ratio = i + 1;
        PetAnimator animator;
        animator.setDevicePixelRatio(ratio);
        PetPoseValues target;
        target.physicsRotation = 16;
        animator.setTargets(target, PetCurve::spring(0.30, 0.64));
        double before = 0;
        double t = 0;
        for (; t < 3 && !animator.isSettled(); t += 0.001) {
            before = animator.values().physicsRotation;
            animator.advance(0.001);
        }
        ASSERT_TRUE(animator.isSettled()) << ratio;
        EXPECT_EQ(animator.values().physicsRotation, 16);
        const double pixelsLeft = std::abs(before - 16) * PetPose::reach[2] * ratio;
        EXPECT_LT(pixelsLeft, 0.5) << "stopped while still " << pixelsLeft << " px away";
        settledAt[i] = t;
    }
    EXPECT_GE(settledAt[1], settledAt[0]);
    EXPECT_LT(settledAt[1], 1.2);
}

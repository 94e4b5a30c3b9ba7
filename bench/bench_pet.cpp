#include "BenchMain.h"
#include "Effects/Pet/PetAnimator.h"
#include "Effects/Pet/PetPresentation.h"
#include "Effects/Pet/View/DesktopPetView.h"
#include "Effects/Pet/View/PetFigure.h"
#include "Foundation/Scheduler.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {
// One whole frame of the pet's panel at 2x, with a reaction capsule above the figure, as the
// window paints it.
void paintPetPanel(benchmark::State &state)
{
    QtScheduler scheduler;
    PetPresentation presentation(scheduler);
    DesktopPetView view(presentation, scheduler, {});
    view.resize(170, 122);
    presentation.update(PetMood::celebrating, QStringLiteral("Wheee—gravity took the day off!"));
    QImage frame(340, 244, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(2);
    for (auto _ : state) {
        frame.fill(Qt::transparent);
        QPainter painter(&frame);
        view.paintContent(painter);
    }
}
BENCHMARK(paintPetPanel)->Unit(benchmark::kMicrosecond);

// The figure alone at 2x, in a tint whose body image is already cached, wearing a badge and a
// crown, with the countdown capsule.
void paintFigure(benchmark::State &state)
{
    PetFigureState figure;
    figure.colorID = QStringLiteral("ocean");
    figure.accessoryID = QStringLiteral("crown");
    figure.moment = PetMoment::power;
    figure.momentProgress = 1;
    figure.mood = PetMood::celebrating;
    figure.focusTimeLabel = QStringLiteral("24:59");
    QImage frame(2 * 170, 2 * 122, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(2);
    for (auto _ : state) {
        frame.fill(Qt::transparent);
        QPainter painter(&frame);
        painter.translate(85, 80);
        PetFigure::paint(painter, figure);
    }
}
BENCHMARK(paintFigure)->Unit(benchmark::kMicrosecond);

// The open menu card with its shadow and the figure below it, at 2x: the panel while the menu
// is open.
void paintOpenCard(benchmark::State &state)
{
    QtScheduler scheduler;
    PetPresentation presentation(scheduler);
    DesktopPetView view(presentation, scheduler, {});
    view.resize(220, 300);
    presentation.showReaction(QStringLiteral("Boop! What’s the plan?"), 60);
    presentation.setDialogueVisible(true);
    view.advanceAnimation(5);
    QImage frame(2 * 220, 2 * 300, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(2);
    for (auto _ : state) {
        frame.fill(Qt::transparent);
        QPainter painter(&frame);
        view.paintContent(painter);
    }
}
BENCHMARK(paintOpenCard)->Unit(benchmark::kMicrosecond);

// One tick of the pose animation with every term moving.
void animationTick(benchmark::State &state)
{
    PetAnimator animator;
    PetPoseState a;
    a.physicsMode = ChaosMode::vortex;
    a.mood = PetMood::stretching;
    a.hovering = true;
    PetPoseState b;
    b.physicsMode = ChaosMode::vortex;
    b.physicsBeat = true;
    b.isWalking = true;
    bool flip = false;
    for (auto _ : state) {
        if (animator.isSettled()) {
            flip = !flip;
            animator.setTargets(PetPose::targets(flip ? a : b), PetCurve::spring(0.30, 0.64));
        }
        animator.advance(1.0 / 60);
        benchmark::DoNotOptimize(PetPose::transform(animator.values()));
    }
}
BENCHMARK(animationTick)->Unit(benchmark::kMicrosecond);

// One idle cycle of an awake pet kept in one spot (bob up for 0.32 s, down, blink), as the view
// paces it: a frame only once something drawn has moved a whole device pixel, none between
// bobs, and a bob's first pixel painted in the wakeup that starts it.
// Reports the frames painted in a cycle and the main-thread wakeups a second its waits and
// frames cost, for a screen of the given density.
void idleCycle(benchmark::State &state)
{
    const double ratio = double(state.range(0));
    const auto ticksUntil = [&](PetAnimator &animator, double seconds) {
        int ticks = 0;
        for (auto next = animator.secondsToNextPixel(); next && *next <= seconds; next = animator.secondsToNextPixel()) {
            const double step = std::max(*next, 1.0 / 60);
            animator.advance(step);
            seconds -= step;
            ++ticks;
        }
        animator.advance(seconds);
        if (!animator.secondsToNextPixel())
            animator.finish();
        return ticks;
    };
    // A bob starts as far back as its first pixel of movement lies ahead, when that is near, so
    // each of the cycle's four steps paints exactly one frame in its own wakeup.
    const auto startBob = [](PetAnimator &animator) {
        if (const auto next = animator.secondsToNextPixel(); next && *next <= 0.1)
            animator.advance(*next);
    };
    int frames = 0;
    for (auto _ : state) {
        PetAnimator animator;
        animator.setDevicePixelRatio(ratio);
        PetPoseState pose;
        animator.setTargets(PetPose::targets(pose), PetCurve::immediate());
        pose.bobbing = true;
        animator.setTargets(PetPose::targets(pose), PetCurve::spring(0.38, 0.62));
        startBob(animator);
        int ticks = ticksUntil(animator, 0.32);
        pose.bobbing = false;
        animator.setTargets(PetPose::targets(pose), PetCurve::spring(0.38, 0.62));
        startBob(animator);
        ticks += ticksUntil(animator, 0.72);
        frames = 4 + ticks;
        benchmark::DoNotOptimize(animator.values());
    }
    state.counters["frames_per_cycle"] = frames;
    state.counters["wakeups_per_s"] = frames / 3.07;
}
BENCHMARK(idleCycle)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
}

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}

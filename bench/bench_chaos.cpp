#include "BenchMain.h"
#include "Effects/Chaos/ChaosEffectController.h"
#include "Effects/Chaos/ChaosScene.h"
#include "Effects/Chaos/DesktopItems.h"
#include "Platform/DesktopIconLocator.h"
#include "Platform/DesktopPictureSource.h"
#include "Platform/Dummy/CompositedOverlayWindowSupport.h"

#include <QApplication>
#include <QEventLoop>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <ctime>

namespace {
const QRectF screenFrame(0, 0, 1440, 900);
const QRectF effectFrame(0, 0, 1440, 875);

std::vector<DesktopVisualItem> fullDesktop()
{
    std::vector<DesktopVisualItem> items;
    for (int i = 0; i < DesktopItems::maxItems; ++i)
        items.push_back(DesktopItems::placeholder(i));
    for (auto &item : items)
        item.name += QStringLiteral(" with a long name");
    return items;
}

QImage wallpaper()
{
    QImage image(2880, 1800, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 2880, 1800);
    gradient.setColorAt(0, QColor(29, 53, 87));
    gradient.setColorAt(1, QColor(231, 111, 81));
    painter.fillRect(image.rect(), gradient);
    return image;
}

// One step with 24 bodies over the first ten seconds of a run, before resting bodies fall
// asleep: falling and piling up, bouncing around weightless, circling the vortex, shaken
// by the earthquake (the argument is the mode).
void physicsStepWith24Bodies(benchmark::State &state)
{
    const ChaosMode mode = allCases<ChaosMode>()[size_t(state.range(0))];
    constexpr int stepsPerRun = 600;
    auto scene = std::make_unique<ChaosScene>(mode, fullDesktop(), effectFrame, 900, 1);
    int steps = 0;
    for (auto _ : state) {
        scene->step();
        if (++steps == stepsPerRun) {
            state.PauseTiming();
            scene = std::make_unique<ChaosScene>(mode, fullDesktop(), effectFrame, 900, 1);
            steps = 0;
            state.ResumeTiming();
        }
    }
    state.SetLabel(rawValue(mode).toStdString());
}
BENCHMARK(physicsStepWith24Bodies)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// One frame of a panel while the banner shows: wallpaper, 24 turned items and the banner.
void panelPaintAt1440x900(benchmark::State &state)
{
    ChaosScene scene(ChaosMode::vortex, fullDesktop(), effectFrame, 900, 1);
    scene.setBackdrop(ChaosBackdrop::fit(wallpaper(), {{screenFrame, effectFrame}}).front());
    for (int i = 0; i < 60; ++i)
        scene.step();
    QImage frame(effectFrame.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        frame.fill(Qt::transparent);
        QPainter painter(&frame);
        scene.paint(painter);
    }
}
BENCHMARK(panelPaintAt1440x900)->Unit(benchmark::kMillisecond);

// Reading, decoding and fitting a 2880 × 1800 photo to one screen, as a run does off the
// interface thread before its panel shows the picture.
void backdropLoad2880x1800(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("picture.jpg"));
    wallpaper().save(file, "JPG", 90);
    for (auto _ : state)
        benchmark::DoNotOptimize(ChaosBackdrop::load(file, {{screenFrame, effectFrame}}));
}
BENCHMARK(backdropLoad2880x1800)->Unit(benchmark::kMillisecond);

class NoIcons final : public DesktopIconLocator {
public:
    void findPositions(std::function<void(Sight)> answer) override { answer({Sight::Look::unfinished, {}}); }
};

class NoPicture final : public DesktopPictureSource {
public:
    QString pictureFile() const override { return {}; }
};

// Processor time the switched-on but idle effect takes from the event loop, per second.
void idleCostPerSecond(benchmark::State &state)
{
    CompositedOverlayWindowSupport windows;
    NoIcons icons;
    NoPicture pictures;
    ChaosEffectController chaos(windows, icons, pictures);
    chaos.start();
    chaos.trigger(ChaosMode::earthquake);
    chaos.reset();
    QCoreApplication::processEvents();
    double cpuSeconds = 0;
    for (auto _ : state) {
        const std::clock_t before = std::clock();
        QEventLoop loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec();
        cpuSeconds += double(std::clock() - before) / CLOCKS_PER_SEC;
    }
    state.counters["cpu_ms_per_s"] = 1000 * cpuSeconds / double(state.iterations());
    chaos.stop();
}
BENCHMARK(idleCostPerSecond)->Iterations(3)->Unit(benchmark::kMillisecond);
}

// Panels and fonts need the application object; the offscreen platform needs no display.
int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}

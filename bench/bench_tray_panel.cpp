#include "BenchMain.h"
#include "App/AppController.h"
#include "Views/MenuBarPanel.h"
#include "support/TestPlatform.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include <benchmark/benchmark.h>

namespace {

struct PanelBench {
    TestFolder folder;
    std::unique_ptr<AppController> app;

    PanelBench()
    {
        folder.write(QStringLiteral("defaults.ini"), "[General]\nhasCompletedOnboarding=true\n");
        TestPlatform base(folder);
        base.platform.packLibraryRoot = folder.makeDir(QStringLiteral("packs"));
        app = std::make_unique<AppController>(std::move(base.platform));
        app->start();
    }

    // What a click on the tray icon does: the panel synced, placed, shown and painted once.
    static void open(MenuBarPanel &panel)
    {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        panel.popUp(QRect(available.right() - 40, available.top(), 24, 24), available);
        panel.repaint();
    }
};

// The first click: the panel is built, then opened.
void firstOpen(benchmark::State &state)
{
    PanelBench bench;
    for (auto _ : state) {
        auto panel = std::make_unique<MenuBarPanel>(*bench.app);
        PanelBench::open(*panel);
        state.PauseTiming();
        panel.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(firstOpen)->Unit(benchmark::kMillisecond);

// Every later click: the hidden panel catches up and is shown again.
void reopen(benchmark::State &state)
{
    PanelBench bench;
    MenuBarPanel panel(*bench.app);
    bool paused = false;
    for (auto _ : state) {
        state.PauseTiming();
        panel.hide();
        paused = !paused;
        bench.app->settings().setEffectsPaused(paused);
        state.ResumeTiming();
        PanelBench::open(panel);
    }
}
BENCHMARK(reopen)->Unit(benchmark::kMillisecond);

}

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}

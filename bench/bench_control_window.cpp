#include "BenchMain.h"
#include "App/AppController.h"
#include "App/AppWindows.h"
#include "Views/ControlWindow.h"
#include "Views/Pages/ControlPage.h"
#include "support/TestPlatform.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

struct WindowBench {
    TestFolder folder;
    std::unique_ptr<AppController> app;
    std::unique_ptr<AppWindows> windows;

    WindowBench()
    {
        folder.write(QStringLiteral("defaults.ini"), "[General]\nhasCompletedOnboarding=true\n");
        TestPlatform base(folder);
        base.platform.packLibraryRoot = folder.makeDir(QStringLiteral("packs"));
        app = std::make_unique<AppController>(std::move(base.platform));
        windows = std::make_unique<AppWindows>(*app);
    }
};

// From the first request to a window that has drawn itself once.
void firstShow(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        WindowBench bench;
        state.ResumeTiming();
        bench.app->showControlPanel(SettingsPage::home);
        ControlWindow *window = bench.windows->controlWindow();
        window->grab();
        QCoreApplication::processEvents();
        state.PauseTiming();
        bench.windows.reset();
        bench.app.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(firstShow)->Unit(benchmark::kMillisecond);

// A click in the page bar, drawn.
void pageSwitch(benchmark::State &state)
{
    WindowBench bench;
    bench.app->showControlPanel(SettingsPage::home);
    ControlWindow &window = *bench.windows->controlWindow();
    const auto pages = allCases<SettingsPage>();
    std::size_t next = 1;
    for (auto _ : state) {
        window.state().setPage(pages[next % pages.size()]);
        window.pageView(window.page())->grab();
        ++next;
    }
}
BENCHMARK(pageSwitch)->Unit(benchmark::kMicrosecond);

// One full refresh after a settings change.
void fullSync(benchmark::State &state)
{
    WindowBench bench;
    bench.app->showControlPanel(SettingsPage::home);
    ControlWindow &window = *bench.windows->controlWindow();
    bool paused = false;
    for (auto _ : state) {
        paused = !paused;
        bench.app->settings().setEffectsPaused(paused);
        window.sync();
    }
}
BENCHMARK(fullSync)->Unit(benchmark::kMicrosecond);

}

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}

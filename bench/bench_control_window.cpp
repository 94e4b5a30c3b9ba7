#include "BenchMain.h"
#include "App/AppController.h"
#include "App/AppWindows.h"
#include "Focus/FocusJournalStore.h"
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

// The Focus page's first show over a journal of very long writing: every list the page shows
// holds entries of 200 000 characters (one unbroken word, then prose), which must wrap in
// their column, not widen the page, and not slow its first show.
void focusPageWithLongEntries(benchmark::State &state)
{
    const QString word(200'000, u'w');
    const QString prose = QStringLiteral("long words wrap ").repeated(12'500);
    for (auto _ : state) {
        state.PauseTiming();
        WindowBench bench;
        FocusJournalStore &journal = bench.app->journal();
        for (const QString &text : {word, prose}) {
            journal.addTask(text);
            journal.addCheckIn(text, text);
            journal.saveSetup(text + QString::number(text.size()), 25, {});
            const QUuid record = journal.recordSession({text, journal.now().addSecs(-600), journal.now(), 10, true, 600});
            journal.saveReflection(text, record);
        }
        journal.saveTodayPage(prose, word);
        bench.app->settings().setFocusGoal(word);
        // The settings file is written out before the clock runs.
        QCoreApplication::processEvents();
        state.ResumeTiming();
        bench.app->showControlPanel(SettingsPage::focus);
        ControlWindow *window = bench.windows->controlWindow();
        window->grab();
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (window->pageView(SettingsPage::focus)->minimumSizeHint().width() > window->width())
            state.SkipWithError("the page is wider than the window");
        bench.windows.reset();
        bench.app.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(focusPageWithLongEntries)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);

}

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}

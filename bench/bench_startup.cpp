// From launch to the first key heard, and to settled (the three selected packs loaded and the
// library filled): the real platform bundle, controller and windows (on the offscreen
// platform) started in the program's launch order, the built-in resources, SDL's dummy device
// behind a probe that notes the first buffer carrying sound, and a typist thread pressing a
// key every 2 ms from the moment the controller exists. Run twice per iteration: the first
// start of a new user (the library is filled from the bundle) and a later start. Reports the
// least, middle and largest of the runs; also the process's CPU time until settled, when the
// pet appeared and in how many first starts it came before the first key. Targets: first key by
// 80 ms and at most 0.15 s of CPU until settled on a first start; the pet after the first key.
// The homes are made under $TMPDIR: a file system that many other programs fill and empty at
// the same time makes creating the library's files slow in the kernel (TMPDIR=/dev/shm takes
// it out of the figure).
#include "BenchMain.h"
#include "App/AppController.h"
#include "App/AppWindows.h"
#include "App/LaunchOrder.h"
#include "Platform/Linux/LinuxPlatform.h"
#include "Platform/Linux/SdlAudioOutput.h"
#include "Services/ResourceBundle.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include <time.h>

namespace {
using Clock = std::chrono::steady_clock;

// The SDL output of the typing engine, with a note of when its first sound went out.
class ProbedOutput final : public AudioOutput, AudioRenderer {
public:
    explicit ProbedOutput(std::atomic<Clock::rep> &heardAt) : m_heardAt(heardAt) {}
    OpenResult<int> preferredSampleRate() override { return m_sdl.preferredSampleRate(); }
    OpenResult<Format> open(int frames, AudioRenderer &renderer) override
    {
        m_mixer = &renderer;
        return m_sdl.open(frames, *this);
    }
    void resume() override { m_sdl.resume(); }
    void close() override { m_sdl.close(); }
    bool isLost() const override { return m_sdl.isLost(); }
    void render(float *interleaved, int frames) noexcept override
    {
        m_mixer->render(interleaved, frames);
        if (m_heardAt.load() == 0 && std::any_of(interleaved, interleaved + 2 * frames, [](float v) { return v != 0.0f; }))
            m_heardAt.store(Clock::now().time_since_epoch().count());
    }

private:
    SdlAudioOutput m_sdl;
    AudioRenderer *m_mixer = nullptr;
    std::atomic<Clock::rep> &m_heardAt;
};

struct StartTimes {
    double firstKeyMs = 0;
    double settledMs = 0;
    double cpuMs = 0;
    double petShownMs = 0;
};

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000 + double(now.tv_nsec) / 1e6;
}

StartTimes startOnce(const QTemporaryDir &home)
{
    const auto launch = Clock::now();
    const double cpuAtLaunch = processCpuMs();
    std::atomic<Clock::rep> heardAt{0};
    Platform platform = LinuxPlatform::create();
    platform.defaults = std::make_unique<UserDefaults>(home.filePath(QStringLiteral("plinkly.ini")));
    platform.runLockPath = home.filePath(QStringLiteral("plinkly.lock"));
    platform.packLibraryRoot = home.filePath(QStringLiteral("Library"));
    platform.packResourceBundle = ResourceBundle::path();
    bool typingOutputMade = false;
    platform.makeAudioOutput = [&]() -> std::unique_ptr<AudioOutput> {
        // The typing engine's output is made first.
        if (!std::exchange(typingOutputMade, true))
            return std::make_unique<ProbedOutput>(heardAt);
        return std::make_unique<SdlAudioOutput>();
    };
    auto controller = std::make_unique<AppController>(std::move(platform));
    auto windows = std::make_unique<AppWindows>(*controller);
    std::atomic<bool> typing{true};
    std::thread typist([&] {
        const KeySoundEvent key{30, KeyGroup::regular, KeyPhase::down, 0.0, false, std::nullopt};
        while (typing.load() && heardAt.load() == 0) {
            controller->handleKeyEvent(key);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    bool libraryPrepared = false;
    QObject::connect(&controller->packs(), &SoundPackManager::libraryPrepared, [&] { libraryPrepared = true; });
    LaunchOrder::start(*controller, *windows);
    Clock::time_point settled{};
    Clock::time_point petShown{};
    double cpuAtSettled = 0;
    const auto deadline = launch + std::chrono::seconds(10);
    // The loop sleeps between events as the program's does, so its own waiting costs no CPU;
    // the ticks only look at the sound the audio thread notes.
    QTimer look;
    look.start(std::chrono::milliseconds(5));
    while (Clock::now() < deadline && (heardAt.load() == 0 || settled == Clock::time_point{} || petShown == Clock::time_point{})) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        if (petShown == Clock::time_point{} && controller->pet().isVisible())
            petShown = Clock::now();
        if (settled == Clock::time_point{} && libraryPrepared && controller->pendingSoundPackIDs().isEmpty()) {
            settled = Clock::now();
            cpuAtSettled = processCpuMs();
        }
    }
    typing = false;
    typist.join();
    windows.reset();
    controller.reset();
    const auto since = [&](Clock::time_point t) { return std::chrono::duration<double, std::milli>(t - launch).count(); };
    return {since(Clock::time_point(Clock::duration(heardAt.load()))), since(settled), cpuAtSettled - cpuAtLaunch,
            since(petShown)};
}

void launchToFirstKeyAndSettled(benchmark::State &state)
{
    std::vector<StartTimes> first;
    std::vector<StartTimes> later;
    // Every home stays until the end: a first start that creates its files where the previous
    // run's were just deleted makes the file system step over those, which a new user's first
    // start never meets.
    std::vector<std::unique_ptr<QTemporaryDir>> homes;
    for (auto _ : state) {
        const QTemporaryDir &home = *homes.emplace_back(std::make_unique<QTemporaryDir>());
        first.push_back(startOnce(home));
        later.push_back(startOnce(home));
    }
    // Least, middle and largest of one figure over the runs.
    const auto spread = [&state](const char *name, std::vector<StartTimes> runs, double StartTimes::*figure) {
        std::sort(runs.begin(), runs.end(), [figure](const auto &a, const auto &b) { return a.*figure < b.*figure; });
        state.counters[std::string(name) + "_min"] = runs.front().*figure;
        state.counters[std::string(name) + "_med"] = runs[runs.size() / 2].*figure;
        state.counters[std::string(name) + "_max"] = runs.back().*figure;
    };
    spread("first_key_ms", first, &StartTimes::firstKeyMs);
    spread("first_settled_ms", first, &StartTimes::settledMs);
    spread("first_cpu_ms", first, &StartTimes::cpuMs);
    spread("first_pet_ms", first, &StartTimes::petShownMs);
    spread("later_key_ms", later, &StartTimes::firstKeyMs);
    spread("later_settled_ms", later, &StartTimes::settledMs);
    spread("later_cpu_ms", later, &StartTimes::cpuMs);
    state.counters["pet_before_key_runs"] = double(std::count_if(
        first.begin(), first.end(), [](const StartTimes &run) { return run.petShownMs < run.firstKeyMs; }));
}
}

BENCHMARK(launchToFirstKeyAndSettled)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    return runWidgetBenchmarks(argc, argv);
}

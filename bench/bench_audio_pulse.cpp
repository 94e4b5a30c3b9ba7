// A minute of typing through a real sound server: starts its own PulseAudio with a null sink
// (needs the `pulseaudio` package; `apt-get install pulseaudio`), plays key sounds through
// the typing engine on SDL's pulseaudio driver at a typist's pace with a few idle pauses, and
// reports the server's underruns (from its log), the ones the output saw itself, and the
// delay from the key to the buffer that carries its sound being handed to the server, for
// steady keys and for the first key after a pause (which opens the stream again).
#include "BenchMain.h"
#include "Platform/Linux/SdlAudioOutput.h"
#include "Services/Audio/AudioEngine.h"
#include "Services/Audio/SoundRouter.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;

// Passes buffers to the engine's mixer and notes when one first carries sound after arming.
class Probe final : public AudioRenderer {
public:
    AudioRenderer *mixer = nullptr;
    void arm() { m_armed = true; }
    bool heard() const { return !m_armed.load(); }
    Clock::time_point heardAt() const { return Clock::time_point(Clock::duration(m_heardAt.load())); }
    void render(float *interleaved, int frames) noexcept override
    {
        mixer->render(interleaved, frames);
        if (m_armed && std::any_of(interleaved, interleaved + 2 * frames, [](float v) { return v != 0.0f; })) {
            m_heardAt.store(Clock::now().time_since_epoch().count());
            m_armed = false;
        }
    }

private:
    std::atomic<bool> m_armed{false};
    std::atomic<Clock::rep> m_heardAt{0};
};

// The SDL output with the probe between it and the engine; keeps the underruns it saw across
// reopens.
class ProbedOutput final : public AudioOutput {
public:
    explicit ProbedOutput(Probe &probe) : m_probe(probe) {}
    int preferredSampleRate() override { return m_sdl.preferredSampleRate(); }
    Result<Format> open(int frames, AudioRenderer &renderer) override
    {
        m_seen += m_sdl.underruns();
        m_probe.mixer = &renderer;
        auto format = m_sdl.open(frames, m_probe);
        if (format)
            lastBufferFrames = format->bufferFrames;
        return format;
    }
    void resume() override { m_sdl.resume(); }
    void close() override { m_sdl.close(); }
    bool isLost() const override { return m_sdl.isLost(); }
    int underruns() const override { return m_sdl.underruns(); }
    int totalUnderruns() const { return m_seen + m_sdl.underruns(); }
    std::atomic<int> lastBufferFrames{0};

private:
    SdlAudioOutput m_sdl;
    Probe &m_probe;
    int m_seen = 0;
};

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::ranges::sort(values);
    return values[std::size_t(p * double(values.size() - 1))];
}

struct ServerUnderruns {
    int whilePlaying = 0;
    int atClose = 0;
};

// An underrun that sound ended ("end of underrun") left a gap; one followed by the stream
// being freed was the stream draining as it closed.
ServerUnderruns serverUnderruns(const QByteArray &logText)
{
    ServerUnderruns counted;
    bool dry = false;
    for (const QByteArray &line : logText.split('\n')) {
        if (line.contains("underrun of")) {
            counted.whilePlaying += dry ? 1 : 0;
            dry = true;
        } else if (line.contains("end of underrun")) {
            counted.whilePlaying += dry ? 1 : 0;
            dry = false;
        } else if (line.contains("Freeing input")) {
            counted.atClose += dry ? 1 : 0;
            dry = false;
        }
    }
    return counted;
}

void typingThroughPulseAudio(benchmark::State &state)
{
    const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (pulseaudio.isEmpty()) {
        state.SkipWithError("pulseaudio is not installed (apt-get install pulseaudio)");
        return;
    }
    QTemporaryDir runtime;
    const QString socket = runtime.filePath(QStringLiteral("native"));
    const QString log = runtime.filePath(QStringLiteral("pulse.log"));
    QProcess server;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("HOME"), runtime.path());
    server.setProcessEnvironment(environment);
    server.start(pulseaudio, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                              QStringLiteral("--disallow-exit"), QStringLiteral("--log-level=debug"),
                              QStringLiteral("--log-target=file:") + log, QStringLiteral("-L"),
                              QStringLiteral("module-null-sink"), QStringLiteral("-L"),
                              QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket});
    const auto serverDeadline = Clock::now() + std::chrono::seconds(10);
    while (!QFile::exists(socket) && Clock::now() < serverDeadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!QFile::exists(socket)) {
        state.SkipWithError("PulseAudio did not start");
        return;
    }
    qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());
    qputenv("SDL_AUDIODRIVER", "pulseaudio");

    SystemClock clock;
    Probe probe;
    auto output = std::make_unique<ProbedOutput>(probe);
    ProbedOutput &device = *output;
    AudioEngine typing(12, std::chrono::milliseconds(2000), std::move(output), clock);
    AudioEngine mouse(8, std::chrono::milliseconds(2000), nullptr, clock);
    AudioEngine reaction(1, std::chrono::milliseconds(2000), nullptr, clock);
    SoundRouter router(typing, mouse, reaction);
    router.setTypingTuning({true, 0.72, true, 0.012, 0.045});

    // A 40 ms key sound: long enough that a gap inside it would be heard.
    const int rate = typing.sampleRate();
    auto press = std::make_shared<DecodedSample>();
    press->channels = 1;
    press->sampleRate = rate;
    press->samples.assign(std::size_t(rate / 25), 0.3f);
    auto bank = std::make_shared<SoundBank>(rate, 1.0f);
    bank->add(KeyGroup::regular, KeyPhase::down, press);
    bank->add(KeyGroup::regular, KeyPhase::up, press);
    typing.setSounds(bank);

    std::vector<double> steady;
    std::vector<double> afterPause;
    std::minstd_rand random(11);
    std::uniform_int_distribution<int> gap(60, 260);
    const KeySoundEvent down{30, KeyGroup::regular, KeyPhase::down, 0.2, false, std::nullopt};
    const KeySoundEvent up{30, KeyGroup::regular, KeyPhase::up, 0.2, false, std::nullopt};
    for (auto _ : state) {
        const auto end = Clock::now() + std::chrono::seconds(60);
        int key = 0;
        while (Clock::now() < end) {
            // Every 120th key follows a pause long enough for the stream to close.
            const bool paused = key % 120 == 0;
            std::this_thread::sleep_for(paused ? std::chrono::milliseconds(2600) : std::chrono::milliseconds(gap(random)));
            probe.arm();
            const auto start = Clock::now();
            router.playKey(down);
            const auto deadline = start + std::chrono::milliseconds(500);
            while (!probe.heard() && Clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::microseconds(50));
            if (probe.heard())
                (paused ? afterPause : steady)
                    .push_back(std::chrono::duration<double, std::milli>(probe.heardAt() - start).count());
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            router.playKey(up);
            ++key;
        }
    }
    typing.stop();
    server.terminate();
    server.waitForFinished(5000);

    QFile serverLog(log);
    serverLog.open(QIODevice::ReadOnly);
    const QByteArray logText = serverLog.readAll();
    state.counters["keys"] = double(steady.size() + afterPause.size());
    // The server logs each time a stream ran dry ("Actual/Implicit underrun of ..."), at a
    // limited rate, so this is a lower bound. A stream the engine closes after going idle also
    // runs dry once, while it is torn down and after its last sound: those are counted apart.
    const ServerUnderruns underruns = serverUnderruns(logText);
    state.counters["server_underruns"] = double(underruns.whilePlaying);
    state.counters["server_underruns_at_close"] = double(underruns.atClose);
    state.counters["output_underruns"] = double(device.totalUnderruns());
    state.counters["buffer_frames"] = double(device.lastBufferFrames.load());
    state.counters["steady_p50_ms"] = percentile(steady, 0.5);
    state.counters["steady_p99_ms"] = percentile(steady, 0.99);
    state.counters["after_pause_p50_ms"] = percentile(afterPause, 0.5);
    state.counters["after_pause_max_ms"] = percentile(afterPause, 1.0);
    state.counters["target_p50_ms"] = 8.0;
}
}

BENCHMARK(typingThroughPulseAudio)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

int main(int argc, char **argv)
{
    return runEventLoopBenchmarks(argc, argv);
}

// Typing through a real PulseAudio server (`apt-get install pulseaudio pulseaudio-utils`): starts
// its own server with a null sink, records the sink's monitor with parec, calibrates that
// recording chain with clicks written into an idle stream, then plays a key sound through the
// PulseAudio road at 10 keys a second for a minute and once after 3, 10 and 60 s of silence.
// Reports key -> sound (less the chain), keys whose sound had a gap, and CPU.
//   bench_audio_pulse [--load N] [--server-main-rt] [--sink-rate HZ] [--typing [--keys N] | --stall]
//     N busy processes run beside it; the server's main thread at a realtime priority; the
//     null sink at HZ rather than the server's default rate
//     --typing: the default pack's press and release samples, held 60 ms, a key every 150 ms,
//     every 80 ms and in bursts of 5 keys 40 ms apart, N keys each (600); gaps are runs of exact
//     silence of 0.25 ms or more inside a sound
#include "AudioServerBench.h"
#include "BenchMain.h"
#include "Platform/Linux/PulseAudioOutput.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <pulse/simple.h>

#include <benchmark/benchmark.h>

using namespace AudioServerBench;

namespace {
int busyProcesses = 0;
int sinkRate = 0;

void typingThroughPulseAudio(benchmark::State &state)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty()) {
        state.SkipWithError("pulseaudio or parec is missing (./setup.sh installs them)");
        return;
    }
    QTemporaryDir runtime;
    const QString socket = runtime.filePath(QStringLiteral("native"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("HOME"), runtime.path());
    environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + socket);
    QProcess server;
    server.setProcessEnvironment(environment);
    server.start(QStringLiteral("pulseaudio"),
                 {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                  QStringLiteral("--disallow-exit"), QStringLiteral("-L"),
                  QStringLiteral("module-null-sink sink_name=plinkly-null")
                      + (sinkRate > 0 ? QStringLiteral(" rate=%1").arg(sinkRate) : QString()),
                  QStringLiteral("-L"), QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket});
    const auto serverDeadline = Steady::now() + std::chrono::seconds(10);
    while (!QFile::exists(socket) && Steady::now() < serverDeadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!QFile::exists(socket)) {
        state.SkipWithError("PulseAudio did not start");
        return;
    }
    makeServerMainRealtime(server.processId());
    qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());

    auto road = std::make_unique<PulseAudioOutput>();
    const int rate = road->preferredSampleRate().value_or(0);
    MonitorRecording recording({QStringLiteral("chrt"), QStringLiteral("-f"), QStringLiteral("3"), QStringLiteral("parec"), QStringLiteral("-d"), QStringLiteral("plinkly-null.monitor"),
                                QStringLiteral("--raw"), QStringLiteral("--format=float32le"),
                                QStringLiteral("--rate=%1").arg(rate), QStringLiteral("--channels=2"),
                                QStringLiteral("--latency-msec=1")},
                               environment, rate);
    const auto recorderDeadline = Steady::now() + std::chrono::seconds(10);
    while (recording.frames() == 0 && Steady::now() < recorderDeadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));

    // The chain: a stream that starts the moment a click fills its pre-buffer and stops once
    // it has played, so each click is written into an empty, idle stream.
    constexpr int clickFrames = 48;
    const pa_sample_spec sampleSpec{PA_SAMPLE_FLOAT32NE, std::uint32_t(rate), 2};
    pa_buffer_attr attributes{};
    attributes.maxlength = std::uint32_t(-1);
    attributes.tlength = std::uint32_t(pa_usec_to_bytes(5000, &sampleSpec));
    attributes.prebuf = std::uint32_t(clickFrames * 2 * sizeof(float));
    attributes.minreq = std::uint32_t(-1);
    attributes.fragsize = std::uint32_t(-1);
    pa_simple *idle = pa_simple_new(nullptr, "Plinkly calibration", PA_STREAM_PLAYBACK, nullptr, "click", &sampleSpec, nullptr,
                                    &attributes, nullptr);
    const std::vector<float> click(2 * clickFrames, 0.5f);
    Figures figures;
    if (idle) {
        figures.calibration = calibrate(recording, [&] {
            const auto written = Steady::now();
            return pa_simple_write(idle, click.data(), click.size() * sizeof(float), nullptr) == 0
                ? std::optional(written) : std::nullopt;
        }, 40);
        pa_simple_free(idle);
    }

    if (stallTyping) {
        typeThroughStalls(state, "PulseAudio", std::move(road), recording, {server.processId()});
    } else if (realTyping) {
        const PulseAudioOutput &pulse = *road;
        typeRealKeysThrough(state, "PulseAudio", std::move(road), recording, {server.processId()}, busyProcesses, figures,
                            [&pulse] { return pulse.postedOverSound(); });
    } else {
        typeThrough(state, "PulseAudio", std::move(road), recording, {server.processId()}, busyProcesses, figures);
    }
    server.terminate();
    server.waitForFinished(5000);
}
}

BENCHMARK(typingThroughPulseAudio)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

int main(int argc, char **argv)
{
    busyProcesses = takeLoadOption(argc, argv);
    serverMainRealtime = takeFlag(argc, argv, "--server-main-rt");
    realTyping = takeFlag(argc, argv, "--typing");
    stallTyping = takeFlag(argc, argv, "--stall");
    keysPerRhythm = takeNumberOption(argc, argv, "--keys", keysPerRhythm);
    sinkRate = takeNumberOption(argc, argv, "--sink-rate", 0);
    BusyProcesses busy(busyProcesses);
    return runEventLoopBenchmarks(argc, argv);
}

// Typing through a real PipeWire server (`apt-get install pipewire pipewire-bin wireplumber`):
// starts its own server with a null sink (tests/e2e/pipewire-null-sink.conf) and session
// manager, records the sink's monitor with pw-record, calibrates that recording chain with
// clicks rendered into an idle stream, then plays a key sound through the PipeWire road at 10
// keys a second for a minute and once after 3, 10 and 60 s of silence. Reports key -> sound
// (less the chain), keys whose sound had a gap, and CPU.
//   bench_audio_pipewire [--load N] [--server-main-rt] [--typing [--keys N] | --stall]
//     N busy processes run beside it; the server's main thread at a realtime priority
//     --typing: the default pack's press and release samples, held 60 ms, a key every 150 ms,
//     every 80 ms and in bursts of 5 keys 40 ms apart, N keys each (600); gaps are runs of exact
//     silence of 0.25 ms or more inside a sound
#include "AudioServerBench.h"
#include "BenchMain.h"
#include "Platform/Linux/PipeWireAudioOutput.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace AudioServerBench;

namespace {
int busyProcesses = 0;

// Silence, and a click at the start of the first buffer after each arming; notes when that
// buffer was rendered.
class ClickRenderer final : public AudioRenderer {
public:
    std::optional<Steady::time_point> click()
    {
        m_armed = true;
        const auto deadline = Steady::now() + std::chrono::seconds(1);
        while (m_armed && Steady::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        if (m_armed.exchange(false))
            return std::nullopt;
        return Steady::time_point(Steady::duration(m_renderedAt.load()));
    }
    void render(float *interleaved, int frames) noexcept override
    {
        std::fill(interleaved, interleaved + 2 * frames, 0.0f);
        if (!m_armed)
            return;
        std::fill(interleaved, interleaved + 2 * std::min(frames, 48), 0.5f);
        m_renderedAt.store(Steady::now().time_since_epoch().count());
        m_armed = false;
    }

private:
    std::atomic<bool> m_armed{false};
    std::atomic<Steady::rep> m_renderedAt{0};
};

void typingThroughPipeWire(benchmark::State &state)
{
    for (const char *tool : {"pipewire", "wireplumber", "pw-record"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            state.SkipWithError("pipewire, wireplumber or pw-record is missing (./setup.sh installs them)");
            return;
        }
    }
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("PIPEWIRE_RUNTIME_DIR"), runtime.path());
    QProcess server;
    server.setProcessEnvironment(environment);
    server.start(QStringLiteral("pipewire"),
                 {QStringLiteral("-c"), QStringLiteral(PLINKLY_SOURCE_DIR "/tests/e2e/pipewire-null-sink.conf")});
    const QString socket = runtime.filePath(QStringLiteral("pipewire-0"));
    const auto serverDeadline = Steady::now() + std::chrono::seconds(10);
    while (!QFile::exists(socket) && Steady::now() < serverDeadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!QFile::exists(socket)) {
        state.SkipWithError("PipeWire did not start");
        return;
    }
    makeServerMainRealtime(server.processId());
    // The session manager links new streams; it wants a session bus.
    QProcess sessionManager;
    sessionManager.setProcessEnvironment(environment);
    if (environment.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS")).isEmpty())
        sessionManager.start(QStringLiteral("dbus-run-session"), {QStringLiteral("--"), QStringLiteral("wireplumber")});
    else
        sessionManager.start(QStringLiteral("wireplumber"), {});
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qputenv("PIPEWIRE_RUNTIME_DIR", runtime.path().toUtf8());

    auto road = std::make_unique<PipeWireAudioOutput>();
    const int rate = road->preferredSampleRate().value_or(0);
    // The recorder asks for the same cycle as the road, so it does not shorten the graph's.
    // Until the session manager has taken in the null sink, it finds no target: try again.
    const QStringList recorder{QStringLiteral("chrt"), QStringLiteral("-f"), QStringLiteral("70"), QStringLiteral("pw-record"), QStringLiteral("--target"), QStringLiteral("plinkly-null"),
                               QStringLiteral("--latency"), QString::number(PipeWireAudioOutput::baseLatencyFrames),
                               QStringLiteral("--rate"), QString::number(rate), QStringLiteral("--channels"),
                               QStringLiteral("2"), QStringLiteral("--format"), QStringLiteral("f32"), QStringLiteral("-")};
    std::unique_ptr<MonitorRecording> recorded;
    for (int attempt = 0; attempt < 10 && (!recorded || recorded->frames() == 0); ++attempt) {
        recorded = std::make_unique<MonitorRecording>(recorder, environment, rate);
        const auto recorderDeadline = Steady::now() + std::chrono::seconds(2);
        while (recorded->frames() == 0 && Steady::now() < recorderDeadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (recorded->frames() == 0) {
        state.SkipWithError("the recorder was not linked to the null sink");
        return;
    }
    MonitorRecording &recording = *recorded;

    Figures figures;
    {
        PipeWireAudioOutput idle;
        ClickRenderer clicks;
        if (idle.open(PipeWireAudioOutput::baseLatencyFrames, clicks)) {
            idle.resume();
            figures.calibration = calibrate(recording, [&] { return clicks.click(); }, 40);
        }
    }

    if (stallTyping)
        typeThroughStalls(state, "PipeWire", std::move(road), recording, {server.processId()});
    else if (realTyping)
        typeRealKeysThrough(state, "PipeWire", std::move(road), recording, {server.processId()}, busyProcesses, figures, {});
    else
        typeThrough(state, "PipeWire", std::move(road), recording, {server.processId()}, busyProcesses, figures);
    // dbus-run-session leaves its bus running when it is stopped itself: its children go first.
    const std::string children = "/proc/" + std::to_string(sessionManager.processId()) + "/task/"
        + std::to_string(sessionManager.processId()) + "/children";
    std::ifstream childList(children);
    for (pid_t child; childList >> child;)
        kill(child, SIGTERM);
    sessionManager.terminate();
    sessionManager.waitForFinished(5000);
    server.terminate();
    server.waitForFinished(5000);
}
}

BENCHMARK(typingThroughPipeWire)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

int main(int argc, char **argv)
{
    busyProcesses = takeLoadOption(argc, argv);
    serverMainRealtime = takeFlag(argc, argv, "--server-main-rt");
    realTyping = takeFlag(argc, argv, "--typing");
    stallTyping = takeFlag(argc, argv, "--stall");
    keysPerRhythm = takeNumberOption(argc, argv, "--keys", keysPerRhythm);
    BusyProcesses busy(busyProcesses);
    return runEventLoopBenchmarks(argc, argv);
}

#pragma once

// Shared steps of the benchmarks that type through a real sound server: busy processes for
// `--load N`, a recorder of the null sink's monitor whose every sample carries the time it
// reached the benchmark, the typing itself and the table of figures.

#include "Services/Audio/SoundBankLoader.h"
#include "Services/Packs/SoundPackLibrary.h"
#include "Services/ResourceBundle.h"
#include "TypingEngines.h"

#include <QDir>

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <mutex>
#include <numbers>
#include <optional>
#include <sched.h>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <vector>

namespace AudioServerBench {
using Steady = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

// Takes `option N` out of the arguments; `fallback` without it.
inline int takeNumberOption(int &argc, char **argv, const char *option, int fallback)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) != 0 || i + 1 >= argc)
            continue;
        const int value = std::atoi(argv[i + 1]);
        std::copy(argv + i + 2, argv + argc, argv + i);
        argc -= 2;
        return value;
    }
    return fallback;
}

// Takes `--load N` out of the arguments; 0 without it.
inline int takeLoadOption(int &argc, char **argv)
{
    return takeNumberOption(argc, argv, "--load", 0);
}

// Takes `flag` out of the arguments; whether it was there.
inline bool takeFlag(int &argc, char **argv, const char *flag)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], flag) != 0)
            continue;
        std::copy(argv + i + 1, argv + argc, argv + i);
        --argc;
        return true;
    }
    return false;
}

// `--server-main-rt`: the sound server's main thread is put at a realtime priority by hand,
// below its data threads and ours, to show what its ordinary priority costs on this kernel.
inline bool serverMainRealtime = false;
constexpr int serverMainPriority = 80;

inline void makeServerMainRealtime(qint64 pid)
{
    if (!serverMainRealtime)
        return;
    const sched_param parameter{serverMainPriority};
    if (sched_setscheduler(pid_t(pid), SCHED_FIFO, &parameter) != 0)
        std::fprintf(stderr, "could not make the server's main thread realtime: %s\n", std::strerror(errno));
    else
        std::printf("the server's main thread runs at SCHED_FIFO %d\n", serverMainPriority);
}

// Child processes that keep a core busy each until destroyed.
class BusyProcesses {
public:
    explicit BusyProcesses(int count)
    {
        for (int i = 0; i < count; ++i) {
            const pid_t pid = fork();
            if (pid == 0) {
                prctl(PR_SET_PDEATHSIG, SIGKILL);
                volatile std::uint64_t spin = 0;
                for (;;)
                    spin = spin + 1;
            }
            m_pids.push_back(pid);
        }
    }
    ~BusyProcesses()
    {
        for (pid_t pid : m_pids) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

private:
    std::vector<pid_t> m_pids;
};

// CPU seconds a process has used (user and system).
inline double cpuSeconds(qint64 pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        return 0.0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    double ticks = 0.0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14 || index == 15)
            ticks += std::stod(field);
        if (index == 15)
            break;
    }
    return ticks / double(sysconf(_SC_CLK_TCK));
}

inline double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

inline double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// A recorder process writing 32-bit float stereo (raw, or WAV) to its standard output, read on
// a thread that notes when each chunk arrived: a sample's time is its chunk's arrival less the
// frames after it. The recorder runs at a realtime priority (under `chrt`), so a loaded machine
// delays the sound, not its recording.
class MonitorRecording {
public:
    MonitorRecording(const QStringList &command, const QProcessEnvironment &environment, int rate) : m_rate(rate)
    {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            return;
        std::vector<std::string> arguments;
        for (const QString &argument : command)
            arguments.push_back(argument.toStdString());
        std::vector<std::string> variables;
        for (const QString &variable : environment.toStringList())
            variables.push_back(variable.toStdString());
        m_pid = fork();
        if (m_pid == 0) {
            dup2(pipeEnds[1], STDOUT_FILENO);
            close(pipeEnds[0]);
            close(pipeEnds[1]);
            std::vector<char *> argv;
            for (std::string &argument : arguments)
                argv.push_back(argument.data());
            argv.push_back(nullptr);
            std::vector<char *> envp;
            for (std::string &variable : variables)
                envp.push_back(variable.data());
            envp.push_back(nullptr);
            execvpe(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        close(pipeEnds[1]);
        m_fd = pipeEnds[0];
        m_reader = std::thread([this] { read(); });
    }
    ~MonitorRecording()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_reader.joinable())
            m_reader.join();
        if (m_fd >= 0)
            close(m_fd);
    }

    std::size_t frames() const
    {
        std::lock_guard lock(m_mutex);
        return m_left.size();
    }
    double readerCpuSeconds() const { return m_readerCpu.load(); }
    std::size_t framesIn(Steady::duration length) const
    {
        return std::size_t(std::chrono::duration<double>(length).count() * m_rate);
    }
    pid_t readerThread() const { return m_readerThread.load(); }
    qint64 pid() const { return m_pid; }

    struct Onset {
        std::size_t frame;
        Steady::time_point at;
    };
    // The first sample louder than `threshold` at or after `from`, and when it reached us.
    std::optional<Onset> onsetAfter(Steady::time_point from, Steady::duration within, float threshold = 0.1f) const
    {
        std::lock_guard lock(m_mutex);
        for (std::size_t i = firstFrameAt(from); i < m_left.size(); ++i) {
            const Steady::time_point at = timeOf(i);
            if (at > from + within)
                break;
            if (std::max(std::fabs(m_left[i]), std::fabs(m_right[i])) > threshold)
                return Onset{i, at};
        }
        return std::nullopt;
    }

    // The loudest frame on `channel` within `within` of `from`, and when it reached us.
    std::pair<float, Steady::time_point> loudestWithin(int channel, Steady::time_point from, Steady::duration within) const
    {
        std::lock_guard lock(m_mutex);
        const std::vector<float> &levels = channel == 0 ? m_left : m_right;
        std::pair<float, Steady::time_point> loudest{0.0f, from};
        for (std::size_t i = firstFrameAt(from); i < levels.size() && timeOf(i) <= from + within; ++i) {
            if (std::fabs(levels[i]) > loudest.first)
                loudest = {std::fabs(levels[i]), timeOf(i)};
        }
        return loudest;
    }

    // How the sound that starts at `onset`, `length` long, came out of the recording. A cycle
    // the server played without it leaves a silent hole with sound after it; a cycle the
    // recorder lost only shortens the sound.
    enum class Shape { whole, hole, cutShort };
    Shape shapeOf(const Onset &onset, Steady::duration length, float floor = 0.02f, float threshold = 0.1f) const
    {
        using namespace std::chrono_literals;
        std::lock_guard lock(m_mutex);
        const auto level = [&](std::size_t i) { return std::max(std::fabs(m_left[i]), std::fabs(m_right[i])); };
        const std::size_t end = std::min(onset.frame + framesIn(length + 30ms), m_left.size());
        std::size_t silent = onset.frame;
        while (silent < end && level(silent) >= floor)
            ++silent;
        for (std::size_t i = silent; i < end; ++i) {
            if (level(i) > threshold)
                return Shape::hole;
        }
        return silent + framesIn(3ms) < onset.frame + framesIn(length) ? Shape::cutShort : Shape::whole;
    }

    // The first frame of `channel` (0 left, 1 right) at or after `from` and within `within`
    // past `threshold` after at least `quiet` with no frame past it, so the tail of an earlier
    // sound on the channel is not taken for a new one. A sound may be stamped up to `early`
    // before its key: the recording's time stamps are as fine as the calibration's spread, and
    // a sink that starts after a silence delivers its first period at once, ahead of the clock.
    std::optional<Onset> riseAfter(int channel, Steady::time_point from, Steady::duration within, float threshold,
                                   Steady::duration quiet, Steady::duration early) const
    {
        std::lock_guard lock(m_mutex);
        const std::vector<float> &levels = channel == 0 ? m_left : m_right;
        const std::size_t quietFrames = framesIn(quiet);
        std::size_t quietRun = 0;
        // The frames before `from` by count, not by time: after a silence the monitor delivers
        // in bursts, and the frames it held back map to less than their length before it.
        const std::size_t first = firstFrameAt(from);
        for (std::size_t i = first - std::min(first, quietFrames + framesIn(early)); i < levels.size(); ++i) {
            const Steady::time_point at = timeOf(i);
            if (at > from + within)
                break;
            if (std::fabs(levels[i]) <= threshold) {
                ++quietRun;
                continue;
            }
            if (quietRun >= quietFrames && at >= from - early)
                return Onset{i, at};
            quietRun = 0;
        }
        return std::nullopt;
    }

    // `length` frames of `channel` from `frame` on, fewer at the recording's end.
    std::vector<float> excerpt(int channel, std::size_t frame, std::size_t length) const
    {
        std::lock_guard lock(m_mutex);
        const std::vector<float> &levels = channel == 0 ? m_left : m_right;
        const std::size_t first = std::min(frame, levels.size());
        const std::size_t last = std::min(frame + length, levels.size());
        return {levels.begin() + std::ptrdiff_t(first), levels.begin() + std::ptrdiff_t(last)};
    }

    // Runs of exact silence at least `shortest` frames long on `channel` within `length`
    // frames from `frame`: a stretch the server played with nothing in it.
    int silentRuns(int channel, std::size_t frame, std::size_t length, std::size_t shortest) const
    {
        std::lock_guard lock(m_mutex);
        const std::vector<float> &levels = channel == 0 ? m_left : m_right;
        int runs = 0;
        std::size_t run = 0;
        for (std::size_t i = frame; i < std::min(frame + length, levels.size()); ++i) {
            run = levels[i] == 0.0f ? run + 1 : 0;
            runs += run == shortest ? 1 : 0;
        }
        return runs;
    }

    // How far the recording fell behind the clock between two times: frames the recorder
    // dropped. The earliest arrival within a second on either side stands for each end, so a
    // reader that was late only for a moment does not count.
    double lostMilliseconds(Steady::time_point from, Steady::time_point to) const
    {
        std::lock_guard lock(m_mutex);
        const auto earliest = [&](Steady::time_point start) {
            std::optional<double> lag;
            for (const Chunk &chunk : m_chunks) {
                if (chunk.arrived < start || chunk.arrived > start + std::chrono::seconds(1))
                    continue;
                const double ms = Milliseconds(chunk.arrived.time_since_epoch()).count() - 1000.0 * double(chunk.end) / m_rate;
                lag = std::min(lag.value_or(ms), ms);
            }
            return lag.value_or(0.0);
        };
        return earliest(to - std::chrono::seconds(1)) - earliest(from);
    }

private:
    struct Chunk {
        std::size_t end;
        Steady::time_point arrived;
    };

    void read()
    {
        m_readerThread.store(gettid());
        std::vector<char> buffer(1 << 16);
        std::string pending;
        bool headerDone = false;
        for (;;) {
            const ssize_t length = ::read(m_fd, buffer.data(), buffer.size());
            if (length <= 0)
                break;
            const Steady::time_point arrived = Steady::now();
            pending.append(buffer.data(), std::size_t(length));
            if (!headerDone) {
                if (pending.size() < 44)
                    continue;
                if (pending.compare(0, 4, "RIFF") == 0) {
                    const auto data = pending.find("data");
                    if (data == std::string::npos || pending.size() < data + 8)
                        continue;
                    pending.erase(0, data + 8);
                }
                headerDone = true;
            }
            const std::size_t frames = pending.size() / 8;
            {
                std::lock_guard lock(m_mutex);
                for (std::size_t i = 0; i < frames; ++i) {
                    float pair[2];
                    std::memcpy(pair, pending.data() + 8 * i, 8);
                    m_left.push_back(pair[0]);
                    m_right.push_back(pair[1]);
                }
                m_chunks.push_back({m_left.size(), arrived});
            }
            pending.erase(0, frames * 8);
            m_readerCpu.store(threadCpuSeconds());
        }
    }

    // Under the lock.
    Steady::time_point timeOf(std::size_t frame) const
    {
        auto chunk = std::upper_bound(m_chunks.begin(), m_chunks.end(), frame,
                                      [](std::size_t f, const Chunk &c) { return f < c.end; });
        if (chunk == m_chunks.end())
            return Steady::time_point::max();
        return chunk->arrived
            - std::chrono::duration_cast<Steady::duration>(std::chrono::duration<double>(double(chunk->end - frame) / m_rate));
    }
    std::size_t firstFrameAt(Steady::time_point from) const
    {
        auto chunk = std::lower_bound(m_chunks.begin(), m_chunks.end(), from,
                                      [](const Chunk &c, Steady::time_point t) { return c.arrived < t; });
        std::size_t frame = chunk == m_chunks.begin() ? 0 : std::prev(chunk)->end;
        while (frame < m_left.size() && timeOf(frame) < from)
            ++frame;
        return frame;
    }

    int m_rate;
    qint64 m_pid = -1;
    int m_fd = -1;
    std::thread m_reader;
    mutable std::mutex m_mutex;
    std::vector<float> m_left;
    std::vector<float> m_right;
    std::vector<Chunk> m_chunks;
    std::atomic<double> m_readerCpu{0.0};
    std::atomic<pid_t> m_readerThread{0};
};

// How often this process's threads, all but `except`, were switched out (each wakeup ends
// in one).
inline long contextSwitches(pid_t except)
{
    long switches = 0;
    for (const auto &task : std::filesystem::directory_iterator("/proc/self/task")) {
        if (task.path().filename() == std::to_string(except))
            continue;
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);) {
            if (line.starts_with("voluntary_ctxt_switches:") || line.starts_with("nonvoluntary_ctxt_switches:"))
                switches += std::stol(line.substr(line.find(':') + 1));
        }
    }
    return switches;
}

// The road under test, counting its underruns across reopens.
class CountingOutput final : public AudioOutput {
public:
    explicit CountingOutput(std::unique_ptr<AudioOutput> road) : m_road(std::move(road)) {}
    OpenResult<int> preferredSampleRate() override { return m_road->preferredSampleRate(); }
    OpenResult<Format> open(int frames, AudioRenderer &renderer) override
    {
        m_seen += m_road->underruns();
        ++opens;
        return m_road->open(frames, renderer);
    }
    void resume() override
    {
        notePost();
        m_road->resume();
    }
    void soundPosted() override
    {
        notePost();
        m_road->soundPosted();
    }
    void close() override { m_road->close(); }
    bool isLost() const override { return m_road->isLost(); }
    int underruns() const override { return m_road->underruns(); }
    bool setMargin(std::chrono::microseconds margin) override
    {
        largestMargin = std::max(largestMargin, margin);
        this->margin.store(margin);
        return m_road->setMargin(margin);
    }
    int totalUnderruns() const { return m_seen + m_road->underruns(); }
    // When each sound was handed to the road, in order: the engine's thread writes, the
    // typist reads once typing is over.
    std::size_t postsSoFar() const { return m_posts.load(std::memory_order_acquire); }
    Steady::time_point postAt(std::size_t index) const { return m_postTimes[index]; }
    int opens = 0;
    std::chrono::microseconds largestMargin{0};
    std::atomic<std::chrono::microseconds> margin{std::chrono::microseconds(0)};

private:
    void notePost()
    {
        const std::size_t index = m_posts.load(std::memory_order_relaxed);
        if (index < m_postTimes.size()) {
            m_postTimes[index] = Steady::now();
            m_posts.store(index + 1, std::memory_order_release);
        }
    }

    std::unique_ptr<AudioOutput> m_road;
    int m_seen = 0;
    std::vector<Steady::time_point> m_postTimes = std::vector<Steady::time_point>(1 << 16);
    std::atomic<std::size_t> m_posts{0};
};

inline double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::ranges::sort(values);
    return values[std::size_t(p * double(values.size() - 1) + 0.5)];
}

struct Figures {
    std::vector<double> calibration;
    std::vector<double> steadyRaw;
    // The margin in effect when each steady key was typed, in whole ms.
    std::vector<int> steadyMarginMs;
    std::vector<std::pair<int, double>> afterSilenceRaw;
    int keys = 0;
    int unheard = 0;
    int gaps = 0;
    int cutShort = 0;
    double recorderLostMs = 0.0;
    int outputUnderruns = 0;
    int opens = 0;
    double largestMarginMs = 0.0;
    double appCpuTyping = 0.0;
    double appCpuIdle = 0.0;
    long appWakeupsIdle = 0;
    double serverCpuTyping = 0.0;
    double serverCpuIdle = 0.0;
    double typingSeconds = 0.0;
    double idleSeconds = 0.0;
};

// Clicks into an idle stream (`click` writes one and returns when it was written, or when the
// stream rendered it): the delay the recording chain adds on its own.
inline std::vector<double> calibrate(MonitorRecording &recording, const std::function<std::optional<Steady::time_point>()> &click,
                                     int count)
{
    std::vector<double> delays;
    for (int i = 0; i < count; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        const auto written = click();
        if (!written)
            continue;
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
        if (const auto onset = recording.onsetAfter(*written - std::chrono::milliseconds(1), std::chrono::milliseconds(100)))
            delays.push_back(Milliseconds(onset->at - *written).count());
    }
    return delays;
}

// A key sound of 40 ms at a steady level, so a gap inside it shows in the recording.
constexpr float steadyKeyLevel = 0.3f;
inline std::shared_ptr<SoundBank> steadyKeySound(int rate)
{
    auto press = std::make_shared<const PlaybackSample>(
        PlaybackSample::from(DecodedSample{std::vector<float>(std::size_t(rate / 25), steadyKeyLevel), 1, rate}));
    auto bank = std::make_shared<SoundBank>(rate, 1.0f);
    bank->add(KeyGroup::regular, KeyPhase::down, press);
    return bank;
}

// Types through `router`'s typing engine: `typingSeconds` of keys at 10 a second, then one
// key after each silence. CPU is the app's (this process less the recorder's reader) and the
// servers' (`serverPids`).
inline void type(Figures &f, SoundRouter &router, const AudioEngine &engine, const CountingOutput &output,
                 const MonitorRecording &recording, const std::vector<qint64> &serverPids, int typingSeconds,
                 const std::vector<int> &silences)
{
    using namespace std::chrono_literals;
    const KeySoundEvent down{30, KeyGroup::regular, KeyPhase::down, 0.0, false, std::nullopt};
    const auto serverCpu = [&] {
        double seconds = 0.0;
        for (qint64 pid : serverPids)
            seconds += cpuSeconds(pid);
        return seconds;
    };
    const auto appCpu = [&] { return processCpuSeconds() - recording.readerCpuSeconds(); };
    const auto measure = [&](Steady::time_point key) {
        const auto onset = recording.onsetAfter(key, 150ms);
        if (!onset) {
            ++f.unheard;
            return std::optional<double>();
        }
        switch (recording.shapeOf(*onset, 40ms)) {
        case MonitorRecording::Shape::hole:
            ++f.gaps;
            break;
        case MonitorRecording::Shape::cutShort:
            ++f.cutShort;
            break;
        case MonitorRecording::Shape::whole:
            break;
        }
        return std::optional(Milliseconds(onset->at - key).count());
    };

    std::vector<Steady::time_point> keys;
    std::vector<int> margins;
    const double app = appCpu();
    const double server = serverCpu();
    const auto start = Steady::now();
    for (auto next = start + 100ms; next < start + std::chrono::seconds(typingSeconds); next += 100ms) {
        std::this_thread::sleep_until(next);
        keys.push_back(Steady::now());
        margins.push_back(int(output.margin.load().count() / 1000));
        router.playKey(down);
    }
    const auto typed = Steady::now();
    f.typingSeconds = std::chrono::duration<double>(typed - start).count();
    f.appCpuTyping = appCpu() - app;
    f.serverCpuTyping = serverCpu() - server;
    f.keys = int(keys.size()) - 1;
    std::this_thread::sleep_for(200ms);
    f.recorderLostMs = recording.lostMilliseconds(start, typed);
    // The first key opened the stream; the rest found it running.
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto heard = measure(keys[i]);
        if (heard && i > 0) {
            f.steadyRaw.push_back(*heard);
            f.steadyMarginMs.push_back(margins[i]);
        }
    }

    for (int silence : silences) {
        std::this_thread::sleep_for(3s);
        const bool closed = !engine.isRunning();
        const double idleApp = appCpu();
        const double idleServer = serverCpu();
        const long idleSwitches = contextSwitches(recording.readerThread());
        const auto idleStart = Steady::now();
        std::this_thread::sleep_for(std::chrono::seconds(silence) - 3s - 200ms);
        if (closed) {
            f.idleSeconds += std::chrono::duration<double>(Steady::now() - idleStart).count();
            f.appWakeupsIdle += contextSwitches(recording.readerThread()) - idleSwitches;
            f.appCpuIdle += appCpu() - idleApp;
            f.serverCpuIdle += serverCpu() - idleServer;
        }
        const auto key = Steady::now();
        router.playKey(down);
        std::this_thread::sleep_for(200ms);
        if (const auto heard = measure(key))
            f.afterSilenceRaw.emplace_back(silence, *heard);
    }
    f.outputUnderruns = output.totalUnderruns();
    f.opens = output.opens;
    f.largestMarginMs = std::chrono::duration<double, std::milli>(output.largestMargin).count();
}

inline void printTable(const char *road, int load, const Figures &f)
{
    const double chain = percentile(f.calibration, 0.5);
    std::vector<double> steady;
    for (double raw : f.steadyRaw)
        steady.push_back(raw - chain);
    std::printf("\n%s, %d busy processes beside it\n", road, load);
    std::printf("  recording chain (click into an idle stream): median %.2f ms, p90 %.2f ms, min %.2f, max %.2f (%zu clicks)\n",
                chain, percentile(f.calibration, 0.9), percentile(f.calibration, 0.0), percentile(f.calibration, 1.0),
                f.calibration.size());
    std::printf("  steady key -> sound (less the chain): median %.2f ms, p90 %.2f, p99 %.2f, min %.2f, max %.2f"
                " (%zu keys heard of %d; raw median %.2f)\n",
                percentile(steady, 0.5), percentile(steady, 0.9), percentile(steady, 0.99), percentile(steady, 0.0),
                percentile(steady, 1.0), steady.size(), f.keys, percentile(f.steadyRaw, 0.5));
    std::map<int, std::vector<double>> byMargin;
    for (std::size_t i = 0; i < steady.size(); ++i)
        byMargin[f.steadyMarginMs[i]].push_back(steady[i]);
    std::printf("  steady median by the margin in effect:");
    for (const auto &[margin, delays] : byMargin)
        std::printf(" %d ms: %.2f (%zu keys);", margin, percentile(delays, 0.5), delays.size());
    std::printf("\n");
    for (const auto &[silence, raw] : f.afterSilenceRaw)
        std::printf("  first key after %2d s of silence: %.2f ms (raw %.2f)\n", silence, raw - chain, raw);
    std::printf("  keys whose sound had a gap (ran dry while playing): %d; underruns the output saw: %d;"
                " largest margin %.1f ms; streams opened %d\n",
                f.gaps, f.outputUnderruns, f.largestMarginMs, f.opens);
    std::printf("  keys the recording cut short (no gap, sound ends early): %d; the recorder lost %.1f ms while typing\n",
                f.cutShort, f.recorderLostMs);
    std::printf("  CPU while typing: app %.2f%%, server %.2f%% of one core; idle (output closed): app %.3f%%"
                " (%.2f wakeups/s), server %.3f%%\n",
                100.0 * f.appCpuTyping / f.typingSeconds, 100.0 * f.serverCpuTyping / f.typingSeconds,
                100.0 * f.appCpuIdle / f.idleSeconds, double(f.appWakeupsIdle) / f.idleSeconds,
                100.0 * f.serverCpuIdle / f.idleSeconds);
}

// Types through `road` with the app's typing engine beside idle mouse and reaction engines,
// then prints the table and hands its main figures to the benchmark.
inline void typeThrough(benchmark::State &state, const char *name, std::unique_ptr<AudioOutput> road,
                        const MonitorRecording &recording, const std::vector<qint64> &serverPids, int load,
                        Figures &figures)
{
    SystemClock clock;
    auto output = std::make_unique<CountingOutput>(std::move(road));
    CountingOutput &counted = *output;
    TypingEngines engines(std::move(output), clock);
    engines.router.setTypingTuning({true, 1.0, false, 0.0, 0.0});
    engines.typing.setSounds(steadyKeySound(engines.typing.sampleRate()));
    for (auto _ : state)
        type(figures, engines.router, engines.typing, counted, recording, serverPids, 60, {3, 3, 3, 10, 10, 60});
    engines.typing.stop();

    printTable(name, load, figures);
    state.counters["chain_p50_ms"] = percentile(figures.calibration, 0.5);
    state.counters["gaps"] = figures.gaps;
    state.counters["cut_short"] = figures.cutShort;
    state.counters["output_underruns"] = figures.outputUnderruns;
}

// `--stall`: keys at 8 a second while the server is stopped (SIGSTOP) for 3 s, three times 10 s
// apart. Per stall, the 10 ms stretches from its end on that are louder than one key's sound:
// keys heard on top of one another.
inline bool stallTyping = false;

inline void typeThroughStalls(benchmark::State &state, const char *name, std::unique_ptr<AudioOutput> road,
                              const MonitorRecording &recording, const std::vector<qint64> &serverPids)
{
    using namespace std::chrono_literals;
    SystemClock clock;
    TypingEngines engines(std::move(road), clock);
    engines.router.setTypingTuning({true, 1.0, false, 0.0, 0.0});
    engines.typing.setSounds(steadyKeySound(engines.typing.sampleRate()));
    const KeySoundEvent down{30, KeyGroup::regular, KeyPhase::down, 0.0, false, std::nullopt};
    const auto signalServers = [&](int signal) {
        for (qint64 pid : serverPids)
            kill(pid_t(pid), signal);
    };
    std::vector<Steady::time_point> resumed;
    for (auto _ : state) {
        const auto start = Steady::now();
        for (auto next = start; next < start + 32s; next += 125ms) {
            std::this_thread::sleep_until(next);
            const auto intoCycle = (next - start) % 10s;
            if (intoCycle >= 2s && intoCycle < 2s + 125ms && next < start + 30s)
                signalServers(SIGSTOP);
            if (intoCycle >= 5s && intoCycle < 5s + 125ms && next < start + 30s) {
                signalServers(SIGCONT);
                resumed.push_back(Steady::now());
            }
            engines.router.playKey(down);
        }
        std::this_thread::sleep_for(500ms);
    }
    engines.typing.stop();
    std::printf("%s, stalls of 3 s while typing 8 keys a second: stretches louder than one sound, loudest\n", name);
    int stacked = 0;
    for (std::size_t i = 0; i < resumed.size(); ++i) {
        int louder = 0;
        float loudest = 0.0f;
        for (auto at = resumed[i] - 200ms; at < resumed[i] + 2s; at += 10ms) {
            const float level = std::max(recording.loudestWithin(0, at, 10ms).first,
                                         recording.loudestWithin(1, at, 10ms).first);
            loudest = std::max(loudest, level);
            louder += level > steadyKeyLevel * 1.05f ? 1 : 0;
        }
        stacked += louder;
        std::printf("  stall %zu: %d  %.3f\n", i + 1, louder, double(loudest));
    }
    state.counters["stacked_stretches"] = stacked;
}

// `--typing`: keys play the built-in default pack's own press and release samples, held 60 ms,
// at a person's rhythms, in place of the tone. Presses sound on the left channel only and
// releases on the right, so each is found in the recording though their tails overlap.
inline bool realTyping = false;
inline int keysPerRhythm = 600;

struct Rhythm {
    const char *name;
    std::chrono::milliseconds apart;
    int burst;
    std::chrono::milliseconds pause;
};
inline const std::vector<Rhythm> rhythms{{"a key every 150 ms", std::chrono::milliseconds(150), 1, {}},
                                         {"a key every 80 ms", std::chrono::milliseconds(80), 1, {}},
                                         {"bursts of 5 keys 40 ms apart", std::chrono::milliseconds(40), 5,
                                          std::chrono::milliseconds(400)}};
constexpr auto keyHold = std::chrono::milliseconds(60);
constexpr double typingVolume = 0.5;
// The shortest run of exact silence counted as a gap: 0.25 ms.
constexpr std::size_t shortestGapFrames(int rate)
{
    return std::size_t(rate / 4000);
}

// The default pack at `rate`; null when the resource bundle is not built.
inline std::shared_ptr<const SoundBank> defaultPackSounds(int rate)
{
    const auto packs = SoundPackLibrary::load(QDir(ResourceBundle::path()).filePath(QStringLiteral("KeyboardPacks")),
                                              SoundPackManifest::PackKind::keyboard);
    for (const LoadedSoundPack &pack : packs.value_or(QList<LoadedSoundPack>())) {
        if (pack.id() == QLatin1String("recorded-cherry")) {
            auto bank = SoundBankLoader::load(pack, rate);
            return bank ? *bank : nullptr;
        }
    }
    return nullptr;
}

// One phase's samples as a key plays them on its channel (presses left, releases right), so
// each sound in the recording can be told apart: which sample it is and from which of its
// frames the recording has it.
struct KeySample {
    std::vector<float> levels;
    // The first frame past the onset detector's level, and the first of its own first stretch
    // of exact silence (its length where it has none).
    std::size_t rise = 0;
    std::size_t silentAt = 0;
};

struct PhaseSamples {
    std::vector<KeySample> samples;
    // The lowest peak among them: the onset detector looks for a part of it.
    float peak = 0.0f;
    float onsetLevel() const { return 0.3f * peak; }
    std::size_t shortest() const
    {
        std::size_t frames = std::numeric_limits<std::size_t>::max();
        for (const KeySample &sample : samples)
            frames = std::min(frames, sample.silentAt - sample.rise);
        return frames;
    }
};

inline PhaseSamples samplesOf(const SoundBank &bank, KeyPhase phase, int channel, std::size_t shortestGap)
{
    const float gain = float(typingVolume * std::numbers::sqrt2);
    PhaseSamples phaseSamples{{}, std::numeric_limits<float>::max()};
    const SoundBank::SampleList *samples = bank.lookup(KeyGroup::regular, phase);
    for (const auto &sample : samples ? *samples : SoundBank::SampleList()) {
        KeySample played;
        for (std::size_t frame = 0; frame < std::size_t(sample->frames()); ++frame)
            played.levels.push_back(
                sample->at(frame * std::size_t(sample->channels) + std::size_t(std::min(channel, sample->channels - 1)))
                * gain);
        const float peak = std::fabs(std::ranges::max(played.levels, {}, [](float v) { return std::fabs(v); }));
        phaseSamples.peak = std::min(phaseSamples.peak, peak);
        phaseSamples.samples.push_back(std::move(played));
    }
    for (KeySample &sample : phaseSamples.samples) {
        const auto loud
            = std::ranges::find_if(sample.levels, [&](float v) { return std::fabs(v) > phaseSamples.onsetLevel(); });
        sample.rise = std::size_t(loud - sample.levels.begin());
        sample.silentAt = sample.levels.size();
        std::size_t run = 0;
        for (std::size_t frame = sample.rise; frame < sample.levels.size(); ++frame) {
            run = sample.levels[frame] == 0.0f ? run + 1 : 0;
            if (run == shortestGap) {
                sample.silentAt = frame + 1 - run;
                break;
            }
        }
    }
    return phaseSamples;
}

// Which sample a sound the recording has from `heard` on is, and which of its frames the first
// of `heard` is: the closest fit over its first frames. A sink that could not take the sound's
// start in time (the server stalled as it came) plays it from a later frame than its rise.
struct SampleFit {
    const KeySample *sample = nullptr;
    std::size_t frame = 0;
};

inline SampleFit fitSample(const PhaseSamples &phase, const std::vector<float> &heard, std::size_t latestFrame)
{
    SampleFit best;
    double bestError = std::numeric_limits<double>::max();
    for (const KeySample &sample : phase.samples) {
        for (std::size_t frame = 0; frame <= latestFrame && frame + heard.size() <= sample.levels.size(); ++frame) {
            double error = 0.0;
            for (std::size_t i = 0; i < heard.size() && error < bestError; ++i)
                error += double(heard[i] - sample.levels[frame + i]) * double(heard[i] - sample.levels[frame + i]);
            if (error < bestError) {
                bestError = error;
                best = {&sample, frame};
            }
        }
    }
    return best;
}

struct RhythmFigures {
    std::vector<double> pressRaw;
    // Each press's key -> handed to the road, where every sound reached it in order.
    std::vector<double> pressPosted;
    std::vector<int> marginMs;
    int keys = 0;
    int unheardPresses = 0;
    int unheardReleases = 0;
    int gaps = 0;
    int keysWithGap = 0;
    // Sounds the sink played from past their first frames, and the most it left out.
    int cutStarts = 0;
    double longestCutMs = 0.0;
    int underruns = 0;
    int postedOverSound = -1;
    int posted = 0;
    double appCpu = 0.0;
    double serverCpu = 0.0;
    double seconds = 0.0;
};

// Types one rhythm through `router` and reads it back from the recording. `postedOverSound`,
// where the road can tell, counts the sounds posted while what was queued still held sound.
inline RhythmFigures typeRhythm(const Rhythm &rhythm, SoundRouter &router, const CountingOutput &output,
                                const MonitorRecording &recording, const std::vector<qint64> &serverPids, int rate,
                                const PhaseSamples &press, const PhaseSamples &release,
                                const std::function<int()> &postedOverSound)
{
    using namespace std::chrono_literals;
    RhythmFigures f;
    const auto serverCpu = [&] {
        double seconds = 0.0;
        for (qint64 pid : serverPids)
            seconds += cpuSeconds(pid);
        return seconds;
    };
    struct Event {
        Steady::time_point at;
        KeyPhase phase;
    };
    std::vector<Steady::time_point> keys;
    const auto start = Steady::now() + 200ms;
    auto next = start;
    for (int key = 0; key < keysPerRhythm; ++key) {
        keys.push_back(next);
        next += (key + 1) % rhythm.burst == 0 && rhythm.burst > 1 ? rhythm.apart + rhythm.pause : rhythm.apart;
    }
    std::vector<Event> events;
    for (const auto key : keys) {
        events.push_back({key, KeyPhase::down});
        events.push_back({key + keyHold, KeyPhase::up});
    }
    std::ranges::stable_sort(events, {}, &Event::at);

    const std::size_t postsBefore = output.postsSoFar();
    const int underrunsBefore = output.totalUnderruns();
    const int overBefore = postedOverSound ? postedOverSound() : 0;
    const double app = processCpuSeconds() - recording.readerCpuSeconds();
    const double server = serverCpu();
    std::vector<Steady::time_point> pressedAt;
    std::vector<Steady::time_point> releasedAt;
    for (const Event &event : events) {
        std::this_thread::sleep_until(event.at);
        const bool down = event.phase == KeyPhase::down;
        (down ? pressedAt : releasedAt).push_back(Steady::now());
        if (down)
            f.marginMs.push_back(int(output.margin.load().count() / 1000));
        router.playKey({30, KeyGroup::regular, event.phase, down ? -1.0 : 1.0, false, std::nullopt});
    }
    const auto typed = Steady::now();
    f.seconds = std::chrono::duration<double>(typed - start).count();
    f.appCpu = processCpuSeconds() - recording.readerCpuSeconds() - app;
    f.serverCpu = serverCpu() - server;
    f.underruns = output.totalUnderruns() - underrunsBefore;
    f.postedOverSound = postedOverSound ? postedOverSound() - overBefore : -1;
    f.posted = int(events.size());
    f.keys = keysPerRhythm;
    std::this_thread::sleep_for(400ms);
    if (output.postsSoFar() - postsBefore == events.size()) {
        std::size_t press = 0;
        for (std::size_t i = 0; i < events.size(); ++i) {
            if (events[i].phase == KeyPhase::down)
                f.pressPosted.push_back(Milliseconds(output.postAt(postsBefore + i) - pressedAt[press++]).count());
        }
    }

    const std::size_t shortestGap = shortestGapFrames(rate);
    // Keys on a channel come at least 40 ms apart: a rise stamped up to 5 ms before a key is
    // its own sound, which a busy sink or recorder stamped early, not the key's before it.
    constexpr auto earliestStamp = 5ms;
    // Gaps are looked for from the onset to where the sample it is has its own first silence.
    const auto readBack = [&](int channel, Steady::time_point at, const PhaseSamples &phase, Steady::duration quiet,
                              int &unheard) -> std::optional<double> {
        const auto onset = recording.riseAfter(channel, at, 150ms, phase.onsetLevel(), quiet, earliestStamp);
        if (!onset) {
            ++unheard;
            return std::nullopt;
        }
        const SampleFit fit
            = fitSample(phase, recording.excerpt(channel, onset->frame, recording.framesIn(2ms)), recording.framesIn(20ms));
        if (!fit.sample)
            return Milliseconds(onset->at - at).count();
        if (fit.frame > fit.sample->rise + shortestGap) {
            ++f.cutStarts;
            f.longestCutMs = std::max(f.longestCutMs, 1000.0 * double(fit.frame - fit.sample->rise) / rate);
        }
        const std::size_t span = fit.sample->silentAt > fit.frame ? fit.sample->silentAt - fit.frame : 0;
        const int gaps = recording.silentRuns(channel, onset->frame, span, shortestGap);
        f.gaps += gaps;
        f.keysWithGap += gaps > 0 ? 1 : 0;
        return Milliseconds(onset->at - at).count();
    };
    for (const auto at : pressedAt) {
        if (const auto heard = readBack(0, at, press, 3ms, f.unheardPresses))
            f.pressRaw.push_back(*heard);
        else
            f.pressRaw.push_back(std::nan(""));
    }
    for (const auto at : releasedAt)
        readBack(1, at, release, 3ms, f.unheardReleases);
    return f;
}

inline void printRhythm(const char *road, int load, const Rhythm &rhythm, const RhythmFigures &f, double chain)
{
    std::vector<double> steady;
    std::map<int, std::vector<double>> byMargin;
    // The first key opened the stream; the rest found it running.
    for (std::size_t i = 1; i < f.pressRaw.size(); ++i) {
        if (std::isnan(f.pressRaw[i]))
            continue;
        steady.push_back(f.pressRaw[i] - chain);
        byMargin[f.marginMs[i]].push_back(f.pressRaw[i] - chain);
    }
    std::printf("\n%s, %s, real samples, %d busy processes beside it\n", road, rhythm.name, load);
    std::printf("  key -> press sound (less the chain of %.2f ms): median %.2f ms, p90 %.2f, p99 %.2f, max %.2f"
                " (%zu presses found of %d; %d presses and %d releases not found)\n",
                chain, percentile(steady, 0.5), percentile(steady, 0.9), percentile(steady, 0.99), percentile(steady, 1.0),
                steady.size(), f.keys, f.unheardPresses, f.unheardReleases);
    if (!f.pressPosted.empty()) {
        const std::vector<double> posted(f.pressPosted.begin() + 1, f.pressPosted.end());
        std::vector<double> road;
        for (std::size_t i = 1; i < f.pressRaw.size(); ++i) {
            if (!std::isnan(f.pressRaw[i]))
                road.push_back(f.pressRaw[i] - chain - f.pressPosted[i]);
        }
        std::printf("  of which key -> handed to the road: median %.2f ms, p99 %.2f, max %.2f; road -> sound: median %.2f,"
                    " p99 %.2f, max %.2f\n", percentile(posted, 0.5), percentile(posted, 0.99), percentile(posted, 1.0),
                    percentile(road, 0.5), percentile(road, 0.99), percentile(road, 1.0));
    } else {
        std::printf("  (a sound was dropped or lost on its way to the road: no split of the delay)\n");
    }
    std::printf("  by the margin in effect:");
    for (const auto &[margin, delays] : byMargin)
        std::printf(" %d ms: median %.2f (%zu keys);", margin, percentile(delays, 0.5), delays.size());
    std::printf("\n  gaps (exact silence >= 0.25 ms inside a sound): %d, in %d sounds; underruns the server reported: %d\n",
                f.gaps, f.keysWithGap, f.underruns);
    std::printf("  sounds the sink took up after their start (the server stalled as they came): %d, at most %.2f ms"
                " left out\n", f.cutStarts, f.longestCutMs);
    if (f.postedOverSound >= 0)
        std::printf("  sounds posted while the queue still held sound: %d of %d (%.0f%%)\n", f.postedOverSound, f.posted,
                    100.0 * f.postedOverSound / std::max(f.posted, 1));
    std::printf("  CPU while typing: app %.2f%%, server %.2f%% of one core\n", 100.0 * f.appCpu / f.seconds,
                100.0 * f.serverCpu / f.seconds);
}

// The typing mode of typeThrough: each rhythm in turn, then one key after 3 and 10 s of silence.
inline void typeRealKeysThrough(benchmark::State &state, const char *name, std::unique_ptr<AudioOutput> road,
                                const MonitorRecording &recording, const std::vector<qint64> &serverPids, int load,
                                Figures &figures, const std::function<int()> &postedOverSound)
{
    using namespace std::chrono_literals;
    SystemClock clock;
    auto output = std::make_unique<CountingOutput>(std::move(road));
    CountingOutput &counted = *output;
    TypingEngines engines(std::move(output), clock);
    engines.router.setTypingTuning({true, typingVolume, true, 0.0, 0.0});
    engines.typing.setLoudnessMatching(false);
    const int rate = engines.typing.sampleRate();
    const auto sounds = defaultPackSounds(rate);
    if (!sounds) {
        state.SkipWithError("the default pack could not be loaded (is the resource bundle built?)");
        return;
    }
    engines.typing.setSounds(sounds);
    const PhaseSamples press = samplesOf(*sounds, KeyPhase::down, 0, shortestGapFrames(rate));
    const PhaseSamples release = samplesOf(*sounds, KeyPhase::up, 1, shortestGapFrames(rate));
    const double chain = percentile(figures.calibration, 0.5);
    std::printf("\nthe default pack at %d Hz: presses sound at least %.1f ms from their onset before any silence (peak"
                " %.3f), releases %.1f ms (peak %.3f)\n", rate, 1000.0 * double(press.shortest()) / rate, press.peak,
                1000.0 * double(release.shortest()) / rate, release.peak);
    int gaps = 0;
    int underruns = 0;
    for (auto _ : state) {
        for (const Rhythm &rhythm : rhythms) {
            const RhythmFigures f = typeRhythm(rhythm, engines.router, counted, recording, serverPids, rate, press, release,
                                               postedOverSound);
            printRhythm(name, load, rhythm, f, chain);
            gaps += f.gaps;
            underruns += f.underruns;
            std::this_thread::sleep_for(3s);
        }
        for (const int silence : {3, 10}) {
            std::this_thread::sleep_for(std::chrono::seconds(silence));
            const auto key = Steady::now();
            engines.router.playKey({30, KeyGroup::regular, KeyPhase::down, -1.0, false, std::nullopt});
            std::this_thread::sleep_for(200ms);
            // Nothing has sounded for seconds: a rise stamped well before the key is its sound.
            if (const auto onset = recording.riseAfter(0, key, 150ms, press.onsetLevel(), 3ms, 10ms)) {
                std::printf("  first key after %2d s of silence: %.2f ms (raw %.2f)\n", silence,
                            Milliseconds(onset->at - key).count() - chain, Milliseconds(onset->at - key).count());
            } else if (const auto late = recording.onsetAfter(key, 1s, 0.001f)) {
                const auto [level, at] = recording.loudestWithin(0, key, 1s);
                std::printf("  first key after %2d s of silence: not heard within 150 ms; first sound %.2f ms after it,"
                            " loudest %.3f (a press peaks at %.3f) %.2f ms after it\n",
                            silence, Milliseconds(late->at - key).count(), level, press.peak,
                            Milliseconds(at - key).count());
            } else {
                std::printf("  first key after %2d s of silence: no sound within 1 s\n", silence);
            }
        }
    }
    engines.typing.stop();
    std::printf("  recording chain (click into an idle stream): median %.2f ms, p90 %.2f ms, min %.2f, max %.2f (%zu clicks)\n",
                chain, percentile(figures.calibration, 0.9), percentile(figures.calibration, 0.0),
                percentile(figures.calibration, 1.0), figures.calibration.size());
    state.counters["chain_p50_ms"] = chain;
    state.counters["gaps"] = gaps;
    state.counters["server_underruns"] = underruns;
}
}

#include "Platform/Linux/EvdevReaderThread.h"
#include "Platform/Dummy/TableKeyLabelSource.h"
#include "Services/Input/KeyboardMonitor.h"

#include <benchmark/benchmark.h>

#include <linux/input.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace {

// The event-tap level of the ladder, reading one pipe that stands in for a keyboard.
class PipeKeyboardSource final : public InputEventSource {
public:
    explicit PipeKeyboardSource(int fd) : m_fd(fd), m_reader(QStringLiteral("local.knockwell.keyboard"), InputDeviceClass::keyboard) {}
    bool start(Handler handler) override { return m_reader.start({{m_fd, QStringLiteral("pipe")}}, nullptr, std::move(handler)); }
    void stop() override { m_reader.stop(); }

private:
    int m_fd;
    EvdevReaderThread m_reader;
};

class PipeCapture final : public InputCapture {
public:
    explicit PipeCapture(int fd) : m_fd(fd) {}
    std::unique_ptr<InputEventSource> makeSource(InputCaptureLevel level, InputDeviceClass, const QString &) override
    {
        return level == InputCaptureLevel::eventTap ? std::make_unique<PipeKeyboardSource>(m_fd) : nullptr;
    }

private:
    int m_fd;
};

// From a key record written to the device to the classified key event reaching the typing
// road's callback on the keyboard thread.
void keystrokeToTypingRoad(benchmark::State &state)
{
    int ends[2];
    if (pipe(ends) != 0) {
        state.SkipWithError("no pipe");
        return;
    }
    PipeCapture capture(ends[0]);
    TableKeyLabelSource labels;
    KeyboardMonitor monitor(capture, labels);
    std::atomic<std::uint64_t> delivered{0};
    monitor.onEvent = [&](const KeySoundEvent &event) {
        benchmark::DoNotOptimize(event.pan);
        delivered.fetch_add(1, std::memory_order_release);
    };
    monitor.start();

    input_event records[2] = {};
    records[0].type = EV_KEY;
    records[0].code = KEY_J;
    records[1].type = EV_SYN;
    records[1].code = SYN_REPORT;
    std::uint64_t expected = 0;
    for (auto _ : state) {
        records[0].value = expected % 2 == 0 ? 1 : 0;
        ++expected;
        if (write(ends[1], records, sizeof records) != sizeof records) {
            state.SkipWithError("write failed");
            break;
        }
        while (delivered.load(std::memory_order_acquire) < expected)
            std::this_thread::yield();
    }
    monitor.stop();
    close(ends[1]);
}
BENCHMARK(keystrokeToTypingRoad)->Unit(benchmark::kMicrosecond)->UseRealTime();

}

BENCHMARK_MAIN();

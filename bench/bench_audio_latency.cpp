// Key-to-sound latency: from a key event handed to the typing road to the first sample of its
// sound written into an output buffer, through the engine's real queue and the real mixing
// callback, on an output that asks for buffers at the pace of a 48 kHz device with 128-frame
// buffers. Reported beside the buffer's own duration, which bounds the wait for the next
// callback.
#include "TypingEngines.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
constexpr int sampleRate = 48000;
constexpr int bufferFrames = 128;
const auto bufferPeriod = std::chrono::nanoseconds(1'000'000'000LL * bufferFrames / sampleRate);

// Calls the renderer once per buffer period on its own thread, like a device, and notes when
// a buffer first carries sound after the bench armed it.
class PacedOutput final : public AudioOutput {
public:
    ~PacedOutput() override { close(); }
    OpenResult<int> preferredSampleRate() override { return sampleRate; }
    OpenResult<Format> open(int, AudioRenderer &renderer) override
    {
        m_renderer = &renderer;
        return Format{sampleRate, bufferFrames};
    }
    void resume() override
    {
        m_running = true;
        m_thread = std::thread([this] { run(); });
    }
    void close() override
    {
        m_running = false;
        if (m_thread.joinable())
            m_thread.join();
    }
    bool isLost() const override { return false; }

    void arm() { m_heardAt.store(Clock::time_point::min().time_since_epoch().count()); m_armed = true; }
    bool heard() const { return !m_armed.load(); }
    Clock::time_point heardAt() const { return Clock::time_point(Clock::duration(m_heardAt.load())); }

private:
    void run()
    {
        std::vector<float> buffer(bufferFrames * 2);
        auto next = Clock::now();
        while (m_running) {
            next += bufferPeriod;
            std::this_thread::sleep_until(next);
            m_renderer->render(buffer.data(), bufferFrames);
            if (m_armed && std::ranges::any_of(buffer, [](float v) { return v != 0.0f; })) {
                m_heardAt.store(Clock::now().time_since_epoch().count());
                m_armed = false;
            }
        }
    }

    AudioRenderer *m_renderer = nullptr;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_armed{false};
    std::atomic<Clock::rep> m_heardAt{0};
    std::thread m_thread;
};

void keyToFirstSample(benchmark::State &state)
{
    SystemClock clock;
    auto output = std::make_unique<PacedOutput>();
    PacedOutput &device = *output;
    TypingEngines engines(std::move(output), clock);
    AudioEngine &typing = engines.typing;
    SoundRouter &router = engines.router;
    router.setTypingTuning({true, 0.72, true, 0.012, 0.045});

    // A short click, over within one buffer, so each event starts from silence.
    auto click = std::make_shared<const PlaybackSample>(
        PlaybackSample::from(DecodedSample{std::vector<float>(24, 0.5f), 1, sampleRate}));
    auto bank = std::make_shared<SoundBank>(sampleRate, 1.0f);
    bank->add(KeyGroup::regular, KeyPhase::down, click);
    typing.setSounds(bank);

    const KeySoundEvent key{30, KeyGroup::regular, KeyPhase::down, -0.3, false, std::nullopt};
    // The first sound opens the output; the measured ones find it running.
    device.arm();
    router.playKey(key);
    while (!device.heard())
        std::this_thread::sleep_for(std::chrono::microseconds(20));
    const int events = int(state.range(0));
    std::vector<double> latencies;
    latencies.reserve(std::size_t(events));
    std::minstd_rand random(7);
    std::uniform_int_distribution<int> pause(500, 3500);
    for (auto _ : state) {
        for (int i = 0; i < events; ++i) {
            // Events land anywhere within the callback period, as keystrokes do.
            std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
            device.arm();
            const auto start = Clock::now();
            router.playKey(key);
            while (!device.heard())
                std::this_thread::sleep_for(std::chrono::microseconds(20));
            latencies.push_back(std::chrono::duration<double, std::micro>(device.heardAt() - start).count());
        }
    }
    std::ranges::sort(latencies);
    const auto percentile = [&](double p) { return latencies[std::size_t(p * double(latencies.size() - 1))]; };
    state.counters["p50_us"] = percentile(0.50);
    state.counters["p99_us"] = percentile(0.99);
    state.counters["max_us"] = latencies.back();
    state.counters["buffer_us"] = std::chrono::duration<double, std::micro>(bufferPeriod).count();
    state.counters["target_p99_us"] = 1000.0 + std::chrono::duration<double, std::micro>(bufferPeriod).count();
    typing.stop();
}
}

BENCHMARK(keyToFirstSample)->Arg(3000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();

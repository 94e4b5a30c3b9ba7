// Mixing cost: one second of 48 kHz stereo output with all 12 typing voices busy, pitched
// off unity so every voice interpolates, through the limiter, in 128-frame buffers as the
// device asks for them. core_pct is the share of one core that mixing takes in real time.
#include "Services/Audio/AudioMixer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <numbers>

namespace {
constexpr int sampleRate = 48000;
constexpr int bufferFrames = 128;
constexpr int voices = 12;

std::shared_ptr<const PlaybackSample> tone(int channels, double hertz)
{
    DecodedSample sample{{}, channels, sampleRate};
    const int frames = 2 * sampleRate;
    for (int i = 0; i < frames; ++i) {
        const float value = float(0.3 * std::sin(2 * std::numbers::pi * hertz * i / sampleRate));
        for (int c = 0; c < channels; ++c)
            sample.samples.push_back(value);
    }
    return std::make_shared<const PlaybackSample>(PlaybackSample::from(sample));
}

void mixTwelveBusyVoices(benchmark::State &state)
{
    AudioMixer mixer(voices);
    mixer.prepare(sampleRate);
    const auto mono = tone(1, 440);
    const auto stereo = tone(2, 660);
    std::vector<float> buffer(bufferFrames * 2);
    std::chrono::steady_clock::duration spent{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int v = 0; v < voices; ++v) {
            AudioMixer::Sound sound;
            sound.sample = v % 3 == 0 ? stereo : mono;
            sound.voice = v;
            sound.gainLeft = 0.9f;
            sound.gainRight = 0.6f;
            sound.step = 1.0 + 0.005 * (v - voices / 2);
            mixer.post(std::move(sound));
        }
        for (int frames = 0; frames < sampleRate; frames += bufferFrames) {
            mixer.render(buffer.data(), bufferFrames);
            benchmark::DoNotOptimize(buffer.data());
        }
        spent += std::chrono::steady_clock::now() - start;
    }
    // One second of audio per iteration: time per iteration as a share of that second.
    state.counters["core_pct"] =
        100.0 * std::chrono::duration<double>(spent).count() / double(state.iterations());
}
}

BENCHMARK(mixTwelveBusyVoices)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

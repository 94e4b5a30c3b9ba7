// Screen toys: one second of the toy sounds' mix with all four voices busy and a pre-gain
// above 1, through the limiter, as the device asks for it (core_pct is the share of one core
// in real time); and one animation step of the toy models at their fullest.
#include "Effects/ScreenToys/ScreenToyGrenadeStore.h"
#include "Effects/ScreenToys/ScreenToyMarkStore.h"
#include "Effects/ScreenToys/ScreenToySound.h"
#include "Effects/ScreenToys/ScreenToyWetness.h"
#include "Effects/ScreenToys/WhipMotion.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {
constexpr int bufferFrames = ScreenToySound::requestedBufferFrames;

void mixFourBusyToyVoices(benchmark::State &state)
{
    AudioMixer mixer(ScreenToySound::voiceCount, ScreenToySound::limiterReleaseSeconds);
    mixer.prepare(ScreenToySound::sampleRate);
    mixer.setPreGain(2.7f);
    auto sample = std::make_shared<DecodedSample>();
    sample->channels = 1;
    sample->sampleRate = ScreenToySound::sampleRate;
    // Long enough that every voice sounds for the whole second.
    while (sample->samples.size() < 2 * ScreenToySound::sampleRate) {
        const auto grenade = ScreenToySound::fallbackSamples(ScreenToyKind::grenade);
        sample->samples.insert(sample->samples.end(), grenade.begin(), grenade.end());
    }
    std::vector<float> buffer(bufferFrames * 2);
    std::chrono::steady_clock::duration spent{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int v = 0; v < ScreenToySound::voiceCount; ++v) {
            AudioMixer::Sound sound;
            sound.sample = sample;
            sound.voice = v;
            sound.gainLeft = sound.gainRight = 1.0f;
            mixer.post(std::move(sound));
        }
        for (int frames = 0; frames < ScreenToySound::sampleRate; frames += bufferFrames) {
            mixer.render(buffer.data(), bufferFrames);
            benchmark::DoNotOptimize(buffer.data());
        }
        spent += std::chrono::steady_clock::now() - start;
    }
    state.counters["core_pct"] = 100.0 * std::chrono::duration<double>(spent).count() / double(state.iterations());
}

// 12 marks, 8 patches, 4 grenades and a swinging whip, stepped at 60 Hz.
void stepToyModels(benchmark::State &state)
{
    ScreenToyMarkStore marks;
    ScreenToyWetness wetness;
    ScreenToyGrenadeStore grenades;
    WhipMotion whip;
    whip.begin(QPointF(700, 450), 0.0);
    whip.isDragging = false;
    double now = 0.0;
    for (auto _ : state) {
        now += 1.0 / 60;
        state.PauseTiming();
        // Keep every store full: the step must not get cheaper as things expire.
        while (std::ssize(marks.marks) < 12)
            marks.record(ScreenToyMark{ScreenToyKind::waterGun, QPointF(now * 7, 300), now, std::nullopt});
        while (std::ssize(wetness.patches) < 8)
            wetness.addImpact(QPointF(100.0 * double(wetness.sequence % 14), 200), now);
        while (std::ssize(grenades.grenades) < 4)
            grenades.throwGrenade(QPointF(0, 0), QPointF(500, 300), now);
        whip.isSettled = false;
        state.ResumeTiming();

        marks.expire(now);
        wetness.expire(now);
        benchmark::DoNotOptimize(grenades.detonations(now));
        for (const ScreenToyGrenade &grenade : grenades.grenades)
            benchmark::DoNotOptimize(grenade.position(now));
        benchmark::DoNotOptimize(whip.advance(1.0 / 60));
    }
}
}

BENCHMARK(mixFourBusyToyVoices)->Unit(benchmark::kMillisecond);
BENCHMARK(stepToyModels);
BENCHMARK_MAIN();

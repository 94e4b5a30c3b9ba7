#include "Foundation/PrivateTempDir.h"
#include "Foundation/SafeFiles.h"
#include "Services/Studio/AudioClipDraft.h"
#include "Services/Studio/ClipFile.h"
#include "Services/Studio/ClipProcessor.h"
#include "Services/Studio/StudioPackExporter.h"
#include "Services/Studio/WaveformEnvelope.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {
constexpr double longestRate = 192000;
constexpr std::size_t longestFrames = 192000 * 30;

ClipSamples toneOf(std::size_t count, double sampleRate)
{
    auto samples = std::make_shared<std::vector<float>>(count);
    for (std::size_t i = 0; i < count; ++i)
        (*samples)[i] = 0.6f * float(std::sin(2.0 * M_PI * 440.0 * double(i) / sampleRate));
    return samples;
}

const ClipSamples &longestClip()
{
    static const ClipSamples clip = toneOf(longestFrames, longestRate);
    return clip;
}

void envelopeOfTheLongestClip(benchmark::State &state)
{
    const ClipSamples &clip = longestClip();
    for (auto _ : state) {
        auto bins = WaveformEnvelope::make(*clip, 2048);
        benchmark::DoNotOptimize(bins);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(longestFrames * sizeof(float)));
}
BENCHMARK(envelopeOfTheLongestClip)->Unit(benchmark::kMillisecond);

void renderTheLongestClip(benchmark::State &state)
{
    const ClipSamples &clip = longestClip();
    const AudioClipEdit edit{0, qint64(longestFrames), 2.0f, 9600, 19200};
    for (auto _ : state) {
        auto rendered = ClipProcessor::process(*clip, edit);
        benchmark::DoNotOptimize(rendered);
    }
}
BENCHMARK(renderTheLongestClip)->Unit(benchmark::kMillisecond);

void applyAnEditToTheLongestClip(benchmark::State &state)
{
    auto draft = AudioClipDraft::wholeClip(longestClip());
    qint64 start = 0;
    for (auto _ : state) {
        auto applied = draft->apply({start++ % 1000, qint64(longestFrames), 1.0f, 0, 0});
        benchmark::DoNotOptimize(applied);
    }
}
BENCHMARK(applyAnEditToTheLongestClip)->Unit(benchmark::kMillisecond);

void exportPackOf32Clips(benchmark::State &state)
{
    auto folder = PrivateTempDir::create(QStringLiteral("plinkly-bench-"));
    const DecodedClip clip{toneOf(48000, 48000), 48000};
    std::vector<StudioSample> samples;
    for (int i = 0; i < 32; ++i)
        samples.push_back({clip, {i * 100, 48000 - i * 100, 1.5f, 480, 4800}, KeyGroup(i % 13), KeyPhase(i % 2)});
    int round = 0;
    for (auto _ : state) {
        const QString destination = folder->filePath(QStringLiteral("Pack %1").arg(round++));
        auto exported = StudioPackExporter::exportPack(QStringLiteral("Bench"), QStringLiteral("Bench"), {},
                                                       SoundPackManifest::PackKind::keyboard, samples, destination);
        if (!exported)
            state.SkipWithError(exported.error().message.toUtf8().constData());
        state.PauseTiming();
        SafeFiles::removeAll(destination);
        state.ResumeTiming();
    }
}
BENCHMARK(exportPackOf32Clips)->Unit(benchmark::kMillisecond);

void loadTheLongestClip(benchmark::State &state)
{
    auto folder = PrivateTempDir::create(QStringLiteral("plinkly-bench-"));
    const QString path = folder->filePath(QStringLiteral("long.wav"));
    if (!ClipFile::exportClip(*longestClip(), longestRate, AudioClipEdit::wholeClip(qint64(longestFrames)), path))
        state.SkipWithError("could not write the clip");
    for (auto _ : state) {
        auto clip = ClipFile::load(path);
        benchmark::DoNotOptimize(clip);
    }
}
BENCHMARK(loadTheLongestClip)->Unit(benchmark::kMillisecond);
}

BENCHMARK_MAIN();

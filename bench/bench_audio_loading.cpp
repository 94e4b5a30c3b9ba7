// Loading one pack for playing: every listed sample read without following links, decoded,
// converted to the output's rate and measured for loudness. Runs on the bundled packs, and
// on a synthetic pack of 44.1 kHz stereo files that all need converting.
#include "BenchMain.h"
#include "Services/Audio/SoundBankLoader.h"
#include "Services/Packs/SoundPackLibrary.h"
#include "Services/ResourceBundle.h"

#include "../tests/Services/Packs/SoundFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
using PackKind = SoundPackManifest::PackKind;

void load(benchmark::State &state, const LoadedSoundPack &pack)
{
    for (auto _ : state) {
        auto bank = SoundBankLoader::load(pack, 48000);
        if (!bank) {
            state.SkipWithError(bank.error().message.toStdString().c_str());
            return;
        }
        benchmark::DoNotOptimize(bank);
    }
}

void loadBundledPack(benchmark::State &state, PackKind kind, const QString &id)
{
    const QString folder = QDir(ResourceBundle::path())
                               .filePath(kind == PackKind::keyboard ? QStringLiteral("KeyboardPacks")
                                                                    : QStringLiteral("ReactionPacks"));
    const auto packs = SoundPackLibrary::load(folder, kind);
    for (const LoadedSoundPack &pack : packs.value_or(QList<LoadedSoundPack>())) {
        if (pack.id() == id) {
            load(state, pack);
            return;
        }
    }
    state.SkipWithError("the resource bundle is not built");
}

void loadConvertedPack(benchmark::State &state)
{
    QTemporaryDir folder;
    LoadedSoundPack pack;
    pack.manifest.id = "bench";
    pack.manifest.name = "Bench";
    pack.manifest.author = "Bench";
    pack.directory = folder.path();
    // Forty samples of 150 ms, as a recorded pack might hold.
    std::vector<float> click(std::size_t(44100 * 0.15) * 2);
    for (std::size_t i = 0; i < click.size(); ++i)
        click[i] = float(std::sin(double(i) * 0.05) * std::exp(-double(i) / 4000.0)) * 0.5f;
    const QByteArray wav = SoundFiles::encode(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, click);
    for (int i = 0; i < 40; ++i) {
        const QString name = QStringLiteral("s%1.wav").arg(i);
        QFile file(folder.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(wav);
        auto &set = pack.manifest.groups[allCases<KeyGroup>()[std::size_t(i % 9)]];
        (i % 2 ? set.up : set.down).append(name);
    }
    load(state, pack);
}
}

BENCHMARK_CAPTURE(loadBundledPack, recordedCherry, PackKind::keyboard, QStringLiteral("recorded-cherry"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadBundledPack, sillyOuchies, PackKind::reaction, QStringLiteral("silly-ouchies"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK(loadConvertedPack)->Unit(benchmark::kMillisecond);

// The resource bundle is found beside the executable, which needs the application object.
int main(int argc, char **argv)
{
    return runEventLoopBenchmarks(argc, argv);
}

#include "Services/Packs/SoundPackLibrary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Fifty installed packs, each listing a hundred samples like the built-in ones.
void writeLibrary(const QString &root)
{
    for (int p = 0; p < 50; ++p) {
        SoundPackManifest manifest;
        manifest.id = QStringLiteral("pack-%1").arg(p);
        manifest.name = QStringLiteral("Pack %1").arg(49 - p);
        manifest.author = "Bench";
        manifest.switchType = "Linear";
        manifest.version = "1.0";
        manifest.license = "CC0-1.0";
        manifest.metadata = std::map<QString, QString>{{"description", "A pack for measuring."}};
        for (KeyGroup group : allCases<KeyGroup>()) {
            for (int v = 0; v < 4; ++v) {
                manifest.groups[group].down.append(QStringLiteral("samples/%1-down-%2.wav").arg(rawValue(group)).arg(v));
                manifest.groups[group].up.append(QStringLiteral("samples/%1-up-%2.wav").arg(rawValue(group)).arg(v));
            }
        }
        const QString folder = QDir(root).filePath(manifest.id);
        QDir().mkpath(folder);
        QFile file(QDir(folder).filePath("manifest.json"));
        file.open(QIODevice::WriteOnly);
        file.write(manifest.toJson());
    }
}

void loadLibraryOf50Packs(benchmark::State &state)
{
    QTemporaryDir root;
    writeLibrary(root.path());
    for (auto _ : state) {
        auto packs = SoundPackLibrary::load(root.path(), SoundPackManifest::PackKind::keyboard);
        if (!packs || packs->size() != 50) {
            state.SkipWithError("library not listed");
            break;
        }
        benchmark::DoNotOptimize(packs);
    }
    state.SetItemsProcessed(state.iterations() * 50);
}

}

BENCHMARK(loadLibraryOf50Packs)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

#include "Models/SoundPackManifest.h"
#include "Services/Packs/ZipPackImporter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <zip.h>

#include <cmath>
#include <list>
#include <vector>

namespace {

// A keystroke-sized sound: 0.1 s of 32-bit float mono at 48 kHz, written as the studio writes it.
QByteArray keystrokeWav(const QString &scratch, int index)
{
    const QString path = QDir(scratch).filePath(QStringLiteral("%1.wav").arg(index));
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    std::vector<float> samples(4800);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = float(0.5 * std::exp(-double(i) / 600.0) * std::sin(0.05 * double(i) * (1 + index % 7)));
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    sf_writef_float(file, samples.data(), sf_count_t(samples.size()));
    sf_close(file);
    QFile written(path);
    written.open(QIODevice::ReadOnly);
    return written.readAll();
}

// A ZIP of a 256-sample keyboard pack inside one top folder.
QString makeArchive(const QString &folder)
{
    SoundPackManifest manifest;
    manifest.id = "bench-pack";
    manifest.name = "Bench Pack";
    manifest.author = "Bench";
    manifest.switchType = "Custom";
    manifest.version = "1.0";
    manifest.license = "Unknown";
    manifest.metadata = std::map<QString, QString>{{"formatVersion", "1"}, {"createdWith", "Knockwell Sound Studio"}};
    std::list<QByteArray> contents;
    const QString archivePath = QDir(folder).filePath("pack.zip");
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(archivePath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    auto add = [&](const QString &name, const QByteArray &bytes) {
        const QByteArray &kept = contents.emplace_back(bytes);
        zip_file_add(archive, name.toUtf8().constData(),
                     zip_source_buffer(archive, kept.constData(), zip_uint64_t(kept.size()), 0), ZIP_FL_ENC_UTF_8);
    };
    for (int i = 0; i < 256; ++i) {
        const QString path = QStringLiteral("samples/%1.wav").arg(i);
        SampleSet &set = manifest.groups[i % 2 ? KeyGroup::regular : KeyGroup::space];
        (i % 4 < 2 ? set.down : set.up).append(path);
        add("Bench Pack/" + path, keystrokeWav(folder, i));
    }
    add("Bench Pack/manifest.json", manifest.toJson(SoundPackManifest::KeyOrder::sorted));
    zip_close(archive);
    return archivePath;
}

void installPackFromZip(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString archive = makeArchive(folder.path());
    const QString library = QDir(folder.path()).filePath("Keyboard Packs");
    for (auto _ : state) {
        auto installed = ZipPackImporter::importArchive(archive, library, SoundPackManifest::PackKind::keyboard, nullptr);
        if (!installed) {
            state.SkipWithError(installed.error().message.toUtf8().constData());
            break;
        }
        state.PauseTiming();
        QDir(installed->directory).removeRecursively();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 256);
}

}

BENCHMARK(installPackFromZip)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

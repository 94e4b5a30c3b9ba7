// The studio page's per-interaction costs on its largest clip (30 s at 192 kHz): painting the
// waveform at the page's width, turning the controls into a recorded edit, starting a preview.
#include "BenchMain.h"
#include "Foundation/Clock.h"
#include "Services/Studio/ClipFile.h"
#include "Services/Studio/WaveformEnvelope.h"
#include "Views/Studio/ClipStudioModel.h"
#include "Views/Studio/StudioWaveformView.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QThreadPool>

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace {
constexpr double longestRate = 192000;
constexpr std::size_t longestFrames = 192000 * 30;
// The page is 680 wide with 24 of padding on each side.
constexpr int waveformWidth = 632;

ClipSamples longestClip()
{
    static const ClipSamples clip = [] {
        auto samples = std::make_shared<std::vector<float>>(longestFrames);
        for (std::size_t i = 0; i < longestFrames; ++i)
            (*samples)[i] = 0.6f * float(std::sin(2.0 * std::numbers::pi * 440.0 * double(i) / longestRate))
                * float(std::exp(-double(i) / longestRate));
        return samples;
    }();
    return clip;
}

// Writes the longest clip into `folder` and loads it into `model`; false when either failed.
bool loadLongestClip(ClipStudioModel &model, const QTemporaryDir &folder)
{
    const QString path = folder.filePath(QStringLiteral("long.wav"));
    if (!ClipFile::exportClip(*longestClip(), longestRate, AudioClipEdit::wholeClip(qint64(longestFrames)), path))
        return false;
    model.load(path);
    QDeadlineTimer deadline(60000);
    while (model.busy() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return model.clip().has_value();
}

void paintTheLongestWaveform(benchmark::State &state)
{
    StudioWaveformView view;
    view.resize(waveformWidth, StudioWaveformView::viewHeight);
    view.setEnvelope(*WaveformEnvelope::make(*longestClip(), ClipStudioModel::envelopeBins), qint64(longestFrames));
    view.setSelection(WaveformSelection{0.2, 0.7});
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::transparent);
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(paintTheLongestWaveform)->Unit(benchmark::kMicrosecond);

void applyAnEditToTheLongestClip(benchmark::State &state)
{
    QTemporaryDir folder;
    SystemClock clock;
    ClipStudioModel model(nullptr, std::make_unique<StudioPreviewPlayer>(nullptr, clock), nullptr);
    if (!loadLongestClip(model, folder)) {
        state.SkipWithError("could not write or load the clip");
        return;
    }
    bool narrow = false;
    for (auto _ : state) {
        narrow = !narrow;
        model.setEnd(narrow ? 0.5 : 0.6);
        model.applyEdit();
    }
    if (model.error())
        state.SkipWithError("the edit was refused");
}
BENCHMARK(applyAnEditToTheLongestClip)->Unit(benchmark::kMillisecond);

// What a preview costs the interface thread: recording the edit and handing the writing and
// reading back to a worker. The loop waits for each worker so they do not pile up.
void startAPreviewOfTheLongestClip(benchmark::State &state)
{
    QTemporaryDir folder;
    SystemClock clock;
    ClipStudioModel model(nullptr, std::make_unique<StudioPreviewPlayer>(nullptr, clock), nullptr);
    if (!loadLongestClip(model, folder)) {
        state.SkipWithError("could not write or load the clip");
        return;
    }
    for (auto _ : state) {
        model.preview();
        state.PauseTiming();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
// A fixed count: each iteration waits out a worker writing 30 s of 192 kHz audio, so running to
// the default measured time would take hours.
BENCHMARK(startAPreviewOfTheLongestClip)->Iterations(20)->Unit(benchmark::kMillisecond);
}

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}

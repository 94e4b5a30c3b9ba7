// Screen toys: one second of the toy sounds' mix with all four voices busy and a pre-gain
// above 1, through the limiter, as the device asks for it (core_pct is the share of one core
// in real time); one animation step of the toy models at their fullest; a full canvas paint;
// recolouring the largest artwork; and the CPU an equipped toy costs while nothing moves.
#include "BenchMain.h"
#include "Effects/ScreenToys/ScreenToyArtwork.h"
#include "Effects/ScreenToys/ScreenToyCanvasPainter.h"
#include "Effects/ScreenToys/ScreenToyController.h"
#include "Effects/ScreenToys/ScreenToyGrenadeStore.h"
#include "Effects/ScreenToys/ScreenToyPOV.h"
#include "Effects/ScreenToys/ScreenToyRecolouring.h"
#include "Effects/ScreenToys/ScreenToyMarkStore.h"
#include "Effects/ScreenToys/ScreenToySound.h"
#include "Effects/ScreenToys/ScreenToyWetness.h"
#include "Effects/ScreenToys/WhipMotion.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>

namespace {
constexpr int bufferFrames = ScreenToySound::requestedBufferFrames;

void mixFourBusyToyVoices(benchmark::State &state)
{
    AudioMixer mixer(ScreenToySound::voiceCount, ScreenToySound::limiterReleaseSeconds);
    mixer.prepare(ScreenToySound::sampleRate);
    mixer.setPreGain(2.7f);
    DecodedSample decoded{{}, 1, ScreenToySound::sampleRate};
    // Long enough that every voice sounds for the whole second.
    while (decoded.samples.size() < 2 * ScreenToySound::sampleRate) {
        const auto grenade = ScreenToySound::fallbackSamples(ScreenToyKind::grenade);
        decoded.samples.insert(decoded.samples.end(), grenade.begin(), grenade.end());
    }
    const auto sample = std::make_shared<const PlaybackSample>(PlaybackSample::from(decoded));
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

// 12 marks (shots in flight, fresh impacts, whip cracks), 8 wet patches and an exploding
// grenade on a 1440 × 900 display, with the hands aimed: every pixel repainted, as a frame
// after the first, when the pictures of what only fades are already made.
void paintFullCanvas(benchmark::State &state)
{
    const QRectF frame(0, 0, 1440, 900);
    ScreenToyScene scene;
    scene.toy = ScreenToyKind::blaster;
    scene.pointer = QPointF(900, 600);
    scene.displayTime = 100.0;
    for (int i = 0; i < 12; ++i) {
        const QPointF target(100 + 110 * i, 200 + 40 * (i % 6));
        const ScreenToyKind kind = i % 3 == 0 ? ScreenToyKind::whip : i % 3 == 1 ? ScreenToyKind::blaster : ScreenToyKind::waterGun;
        const double firedAt = scene.displayTime - 0.05 - 0.2 * i;
        std::optional<ScreenToyShot> shot;
        if (kind != ScreenToyKind::whip)
            shot = ScreenToyShot{ScreenToyPOV::layout(frame, target, kind).muzzle, target, firedAt, kind};
        scene.marks.push_back({kind, target, firedAt, shot});
    }
    ScreenToyWetness wetness;
    for (int i = 0; i < 8; ++i)
        wetness.addImpact(QPointF(150 + 160 * i, 650), scene.displayTime - 0.4 * i);
    scene.wetPatches = wetness.patches;
    scene.grenades.push_back({QPointF(785, 130), QPointF(700, 450), scene.displayTime - 1.3, true});
    QImage canvas(1440, 900, QImage::Format_ARGB32_Premultiplied);
    ScreenToyPictureCache pictures;
    rusage before{};
    getrusage(RUSAGE_THREAD, &before);
    for (auto _ : state) {
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        painter.translate(0, canvas.height());
        painter.scale(1, -1);
        ScreenToyCanvasPainter::paint(painter, scene, frame, pictures);
    }
    rusage after{};
    getrusage(RUSAGE_THREAD, &after);
    // Every blend Qt hands to its thread pool makes the painting thread wait for it.
    state.counters["waits"] = double(after.ru_nvcsw - before.ru_nvcsw) / double(state.iterations());
}

void recolourGrenadeArtwork(benchmark::State &state)
{
    const QImage &art = ScreenToyArtwork::hands(ScreenToyKind::grenade);
    const auto regions = ScreenToyRecolouring::regions(ScreenToyKind::grenade);
    for (auto _ : state)
        benchmark::DoNotOptimize(ScreenToyRecolouring::apply(ScreenToyHandTone::brown, art, regions));
    state.counters["pixels"] = double(art.width()) * art.height();
}

// After the cache holds a tone, a request only looks it up.
void cachedRecolouredArtwork(benchmark::State &state)
{
    ScreenToyArtwork::artwork(ScreenToyKind::grenade, ScreenToyHandTone::deep);
    for (auto _ : state)
        benchmark::DoNotOptimize(ScreenToyArtwork::artwork(ScreenToyKind::grenade, ScreenToyHandTone::deep));
}

// Equipped with nothing moving: the tick must be stopped and the event loop asleep.
void idleEquippedToy(benchmark::State &state)
{
    struct Still final : GlobalPointer {
        QPoint position() const override { return {700, 400}; }
        bool leftButtonIsDown() const override { return false; }
        bool start(Handler) override { return true; }
        void stop() override {}
    } pointer;
    struct NoKeys final : InputCapture {
        std::unique_ptr<InputEventSource> makeSource(InputCaptureLevel, InputDeviceClass, const QString &) override
        {
            return nullptr;
        }
    } keys;
    struct Blends final : OverlayWindowSupport {
        bool blendsTranslucentWindows() const override { return true; }
    } overlays;
    struct Moves final : ReduceMotionProbe {
        bool reduceMotion() const override { return false; }
    } motion;
    SystemClock clock;
    ScreenToyController toys([] { return true; }, {pointer, keys, overlays, motion, nullptr}, nullptr, clock);
    toys.equip(ScreenToyKind::blaster);
    // Let the canvases appear and paint once before measuring.
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    for (auto _ : state) {
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        QEventLoop loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec();
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        const auto micros = [](const timeval &t) { return double(t.tv_sec) * 1e6 + double(t.tv_usec); };
        state.counters["cpu_ms_per_s"] = (micros(after.ru_utime) + micros(after.ru_stime) - micros(before.ru_utime)
                                          - micros(before.ru_stime)) / 1000.0;
        state.counters["ticking"] = toys.isAnimating() ? 1 : 0;
    }
}
}

BENCHMARK(mixFourBusyToyVoices)->Unit(benchmark::kMillisecond);
BENCHMARK(stepToyModels);
BENCHMARK(paintFullCanvas)->Unit(benchmark::kMillisecond);
BENCHMARK(recolourGrenadeArtwork)->Unit(benchmark::kMillisecond);
BENCHMARK(cachedRecolouredArtwork);
BENCHMARK(idleEquippedToy)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}

#include "SystemSounds.h"

#include "PackWriter.h"
#include "Synth.h"
#include "WavFile.h"

#include <QDir>

#include <cmath>
#include <numbers>

using namespace Synth;

namespace {

constexpr double twoPi = 2.0 * std::numbers::pi;

// A note with a few harmonics, a soft attack and an exponential decay.
void addNote(Buffer &out, double start, double hz, double seconds, double level, int harmonics, double attack = 0.004)
{
    for (int k = 1; k <= harmonics; ++k)
        addMode(out, start, hz * k, level / (k * k * 0.7 + 0.3), seconds / std::sqrt(k), attack);
}

Buffer glass()
{
    Buffer out = silence(1.2);
    const double partials[][3] = {{1.0, 1.0, 0.6}, {2.32, 0.5, 0.4}, {4.25, 0.3, 0.25}, {6.63, 0.15, 0.15}};
    for (const auto &p : partials)
        addMode(out, 0, 1900 * p[0], p[1], p[2], 0.0003);
    return out;
}

Buffer pop()
{
    Buffer out = silence(0.14);
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / sampleRate;
        phase += twoPi * (300 + 600 * std::min(1.0, t / 0.03)) / sampleRate;
        out[i] = std::min(1.0, t / 0.0004) * std::exp(-t / 0.025) * std::sin(phase);
    }
    return out;
}

Buffer ping()
{
    Buffer out = silence(1.0);
    addMode(out, 0, 1568, 1.0, 0.35, 0.0005);
    addMode(out, 0, 1568 * 2.76, 0.15, 0.12, 0.0005);
    return out;
}

Buffer basso()
{
    Buffer out = silence(0.5);
    double phase = 0;
    Biquad soften = Biquad::lowPass(1400, 0.7);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / sampleRate;
        phase += twoPi * 110 / sampleRate;
        double tone = 0;
        for (int k = 1; k <= 8; ++k)
            tone += std::sin(k * phase) / k;
        const double envelope = std::min(1.0, t / 0.012) * (t < 0.2 ? 1.0 : std::exp(-(t - 0.2) / 0.08));
        out[i] = soften.process(envelope * tone);
    }
    return out;
}

Buffer morse()
{
    Buffer out = silence(0.32);
    for (double start : {0.0, 0.12}) {
        const auto first = std::size_t(start * sampleRate);
        const auto count = std::size_t(0.07 * sampleRate);
        for (std::size_t i = 0; i < count; ++i) {
            const double t = double(i) / sampleRate;
            const double envelope = std::min({1.0, t / 0.003, (0.07 - t) / 0.006});
            out[first + i] += envelope * std::sin(twoPi * 880 * t);
        }
    }
    return out;
}

Buffer hero()
{
    Buffer out = silence(1.0);
    const double notes[] = {523.25, 659.25, 783.99, 1046.5};
    for (int i = 0; i < 4; ++i)
        addNote(out, i * 0.09, notes[i], i == 3 ? 0.35 : 0.12, i == 3 ? 1.0 : 0.8, 5, i == 0 ? 0.001 : 0.006);
    return out;
}

Buffer submarine()
{
    Buffer out = silence(1.3);
    for (auto [start, level] : {std::pair{0.0, 1.0}, std::pair{0.2, 0.3}, std::pair{0.4, 0.1}}) {
        addMode(out, start, 520, level, 0.35, start == 0.0 ? 0.002 : 0.01);
        addMode(out, start, 1040, level * 0.2, 0.2, 0.01);
    }
    return out;
}

Buffer tink()
{
    Buffer out = silence(0.25);
    addMode(out, 0, 3200, 1.0, 0.04, 0.0001);
    addMode(out, 0, 5700, 0.5, 0.025, 0.0001);
    addMode(out, 0, 8100, 0.25, 0.015, 0.0001);
    return out;
}

Buffer blow()
{
    Buffer out = silence(0.55);
    Random random(seedFor(QStringLiteral("SystemSounds/Blow")));
    Biquad lower = Biquad::bandPass(600, 1.2);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / sampleRate;
        const double envelope = std::min(1.0, t / 0.003) * (0.3 + 0.7 * std::min(1.0, t / 0.08)) * std::exp(-t / 0.15);
        out[i] = envelope * (lower.process(random.noise()) * 3 + 0.15 * std::sin(twoPi * 440 * t));
    }
    return out;
}

}

bool SystemSounds::generate(const QString &folder)
{
    // Ringing sounds end with a long fade, as if the struck object were damped by hand.
    struct Sound {
        const char *name;
        Buffer (*make)();
        double fadeSeconds;
    };
    const Sound sounds[] = {
        {"Glass", glass, 0.25}, {"Pop", pop, 0.01},   {"Ping", ping, 0.25},           {"Basso", basso, 0.02},
        {"Morse", morse, 0.01}, {"Hero", hero, 0.2}, {"Submarine", submarine, 0.3}, {"Tink", tink, 0.02},
        {"Blow", blow, 0.05},
    };
    bool ok = true;
    for (const Sound &sound : sounds) {
        const QString path = QDir(folder).filePath(QString::fromUtf8(sound.name) + QStringLiteral(".wav"));
        ok = WavFile::write(path, finish(sound.make(), 0.6, sound.fadeSeconds), sampleRate) && ok;
    }
    return ok;
}

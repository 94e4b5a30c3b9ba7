#include "ScreenToySounds.h"

#include "Synth.h"
#include "WavFile.h"

#include <QDir>

#include <cmath>
#include <numbers>

using namespace Synth;

namespace {

constexpr double twoPi = 2.0 * std::numbers::pi;

// A sine whose pitch glides from `from` to `to` Hz, decaying with time constant `decay`.
void addSweep(Buffer &out, double start, double from, double to, double seconds, double level, double decay)
{
    const auto first = std::size_t(start * sampleRate);
    const auto count = std::size_t(seconds * sampleRate);
    double phase = 0;
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double t = double(i) / sampleRate;
        phase += twoPi * (from + (to - from) * t / seconds) / sampleRate;
        out[first + i] += level * std::min(1.0, t / 0.001) * std::exp(-t / decay) * std::sin(phase);
    }
}

Buffer handgun()
{
    Random random(0x4A11);
    Buffer out = silence(0.35);
    addNoiseBurst(out, 0, 1.0, 0.03, 0.0003, Biquad::lowPass(5200, 0.8), random);
    addNoiseBurst(out, 0.004, 0.5, 0.09, 0.002, Biquad::bandPass(900, 0.9), random);
    addSweep(out, 0, 180, 70, 0.2, 0.8, 0.05);
    return out;
}

Buffer ak47()
{
    Random random(0xA47);
    Buffer out = silence(0.25);
    addNoiseBurst(out, 0, 1.0, 0.022, 0.0002, Biquad::highPass(700, 0.7), random);
    addNoiseBurst(out, 0.002, 0.6, 0.05, 0.001, Biquad::bandPass(1600, 1.2), random);
    addSweep(out, 0, 240, 110, 0.12, 0.6, 0.03);
    return out;
}

// A rising whoosh of the rope and a sharp crack at its end.
Buffer whip()
{
    Random random(0x3419);
    Buffer out = silence(0.4);
    Biquad air = Biquad::bandPass(1800, 0.7);
    const auto whooshLength = std::size_t(0.16 * sampleRate);
    for (std::size_t i = 0; i < whooshLength; ++i) {
        const double p = double(i) / double(whooshLength);
        out[i] += 0.25 * p * p * air.process(random.noise());
    }
    addNoiseBurst(out, 0.16, 1.0, 0.012, 0.0001, Biquad::highPass(2500, 0.8), random);
    addNoiseBurst(out, 0.162, 0.4, 0.05, 0.001, Biquad::bandPass(3200, 2.0), random);
    return out;
}

// A squirt: a bubbling pitch over a soft filtered spray.
Buffer water()
{
    Random random(0x3A7E);
    Buffer out = silence(0.45);
    Biquad spray = Biquad::bandPass(2400, 0.8);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / sampleRate;
        const double envelope = std::min(1.0, t / 0.01) * std::exp(-t / 0.12);
        out[i] += 0.35 * envelope * spray.process(random.noise());
    }
    for (int drop = 0; drop < 5; ++drop)
        addSweep(out, 0.03 + 0.06 * drop, 700 + 90 * drop, 1300 + 120 * drop, 0.05, 0.35, 0.02);
    return out;
}

// A deep thump under a long rumble of low noise.
Buffer grenade()
{
    Random random(0x6E4A);
    Buffer out = silence(1.9);
    addNoiseBurst(out, 0, 1.0, 0.05, 0.0005, Biquad::lowPass(3000, 0.7), random);
    addNoiseBurst(out, 0.01, 1.4, 0.45, 0.01, Biquad::lowPass(320, 0.9), random);
    addSweep(out, 0, 90, 38, 0.9, 1.2, 0.3);
    addNoiseBurst(out, 0.35, 0.25, 0.5, 0.2, Biquad::lowPass(180, 0.7), random);
    return out;
}

// A filtered-noise whoosh that rises and fades: the grenade leaving the hand. The rise is a
// crossfade from a low band of noise to a high one.
Buffer grenadeThrow()
{
    Random random(0x7410);
    Buffer out = silence(0.45);
    Biquad lowBand = Biquad::bandPass(550, 1.2);
    Biquad highBand = Biquad::bandPass(1900, 1.2);
    const auto count = std::size_t(0.4 * sampleRate);
    for (std::size_t i = 0; i < count; ++i) {
        const double p = double(i) / double(count);
        const double envelope = std::sin(std::numbers::pi * p);
        const double noise = random.noise();
        out[i] = envelope * envelope * ((1 - p) * lowBand.process(noise) + p * highBand.process(noise));
    }
    return out;
}

}

bool ScreenToySounds::generate(const QString &folder)
{
    struct Sound {
        const char *file;
        Buffer (*make)();
        double peak;
        double fadeSeconds;
    };
    const Sound sounds[] = {
        {"handgun.wav", handgun, 0.8, 0.01},  {"whip.wav", whip, 0.8, 0.01},
        {"water.wav", water, 0.7, 0.02},      {"ak47.wav", ak47, 0.8, 0.01},
        {"grenade.wav", grenade, 0.85, 0.2},  {"grenade-throw.wav", grenadeThrow, 0.6, 0.03},
    };
    bool ok = true;
    for (const Sound &sound : sounds)
        ok = WavFile::write(QDir(folder).filePath(QString::fromUtf8(sound.file)),
                            finish(sound.make(), sound.peak, sound.fadeSeconds), sampleRate)
            && ok;
    return ok;
}

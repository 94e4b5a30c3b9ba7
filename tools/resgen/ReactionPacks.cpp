#include "ReactionPacks.h"

#include "PackWriter.h"
#include "Synth.h"

#include <QDir>

#include <cmath>
#include <functional>
#include <numbers>

using namespace Synth;

namespace {

constexpr double twoPi = 2.0 * std::numbers::pi;

struct Vowel {
    double f1, f2, f3;
};

constexpr Vowel vowelA{800, 1200, 2500};
constexpr Vowel vowelO{500, 900, 2400};
constexpr Vowel vowelU{350, 700, 2300};
constexpr Vowel vowelI{300, 2300, 3000};

Vowel blend(Vowel a, Vowel b, double t)
{
    return {a.f1 + (b.f1 - a.f1) * t, a.f2 + (b.f2 - a.f2) * t, a.f3 + (b.f3 - a.f3) * t};
}

// Loudness of a harmonic at `hz` through the vocal tract's three resonances.
double formantGain(const Vowel &v, double hz)
{
    auto peak = [hz](double centre, double width, double gain) {
        const double x = (hz - centre) / (width / 2);
        return gain / (1 + x * x);
    };
    return peak(v.f1, 90, 1.0) + peak(v.f2, 120, 0.6) + peak(v.f3, 180, 0.25) + 0.02;
}

// A cartoon voice: a pitch contour over a vowel glide, built from harmonics so nothing aliases.
struct Voice {
    double seconds;
    std::function<double(double)> pitch; // Hz over progress 0…1
    std::function<Vowel(double)> vowel;
    double breath = 0.05;
};

void addVoice(Buffer &out, double start, const Voice &voice, Random &random)
{
    const auto first = std::size_t(start * sampleRate);
    const auto count = std::size_t(voice.seconds * sampleRate);
    const double attack = 0.008 * sampleRate;
    const double release = 0.06 * sampleRate;
    Biquad breathFilter = Biquad::bandPass(1500, 0.8);
    double phase = 0;
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double progress = double(i) / double(count);
        const double f0 = voice.pitch(progress) * (1 + 0.012 * std::sin(twoPi * 5.5 * double(i) / sampleRate));
        const Vowel vowel = voice.vowel(progress);
        phase += twoPi * f0 / sampleRate;
        double sample = 0;
        for (int k = 1; k * f0 < 5500; ++k)
            sample += formantGain(vowel, k * f0) * std::sin(k * phase) / std::pow(k, 0.6);
        sample += voice.breath * breathFilter.process(random.noise()) * 4;
        const double rise = std::min(1.0, double(i) / attack);
        const double fall = std::min(1.0, double(count - i) / release);
        out[first + i] += sample * rise * fall;
    }
}

std::function<double(double)> contour(double from, double top, double to, double topAt = 0.3)
{
    return [=](double p) {
        if (p < topAt)
            return from + (top - from) * std::sin(p / topAt * std::numbers::pi / 2);
        return top + (to - top) * (p - topAt) / (1 - topAt);
    };
}

std::function<Vowel(double)> glide(Vowel from, Vowel to, double startAt = 0.35)
{
    return [=](double p) { return blend(from, to, std::clamp((p - startAt) / (1 - startAt), 0.0, 1.0)); };
}

Buffer voiced(const Voice &voice, Random &random, double tail = 0.05)
{
    Buffer out = silence(voice.seconds + tail);
    addVoice(out, 0, voice, random);
    return out;
}

// A spring toy: a tone whose pitch wobbles and settles.
Buffer boing(double hz, double seconds, Random &random)
{
    Buffer out = silence(seconds);
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / sampleRate;
        const double wobble = 1 + 0.35 * std::exp(-t / 0.12) * std::sin(twoPi * 11 * t);
        phase += twoPi * hz * wobble * (1 - 0.15 * t / seconds) / sampleRate;
        const double envelope = std::min(1.0, t / 0.002) * std::exp(-t / (seconds * 0.35));
        out[i] = envelope * (std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.1 * std::sin(3 * phase));
    }
    addNoiseBurst(out, 0, 0.4, 0.004, 0.0001, Biquad::bandPass(2500 * random.jitter(0.1), 1.0), random);
    return out;
}

// A tone sliding from one pitch to another, with vibrato.
Buffer slide(double fromHz, double toHz, double seconds, double vibrato)
{
    Buffer out = silence(seconds);
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / sampleRate;
        const double p = t / seconds;
        const double hz = fromHz * std::pow(toHz / fromHz, p) * (1 + vibrato * std::sin(twoPi * 7 * t));
        phase += twoPi * hz / sampleRate;
        const double envelope = std::min(1.0, t / 0.006) * std::min(1.0, (seconds - t) / 0.05);
        out[i] = envelope * (std::sin(phase) + 0.08 * std::sin(2 * phase));
    }
    return out;
}

// A drum: a tone dropping in pitch under a burst of noise.
Buffer thud(double hz, double seconds, Random &random)
{
    Buffer out = silence(seconds);
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / sampleRate;
        phase += twoPi * hz * (1 + std::exp(-t / 0.03)) / sampleRate;
        out[i] = std::min(1.0, t / 0.0008) * std::exp(-t / 0.09) * std::sin(phase);
    }
    addNoiseBurst(out, 0, 0.5, 0.012, 0.0002, Biquad::lowPass(1800, 0.7), random);
    return out;
}

Buffer woodBlock(double hz, Random &random)
{
    Buffer out = silence(0.25);
    addMode(out, 0, hz, 1.0, 0.035, 0.0001);
    addMode(out, 0, hz * 2.57, 0.45, 0.018, 0.0001);
    addMode(out, 0, hz * 4.1, 0.2, 0.01, 0.0001);
    addNoiseBurst(out, 0, 0.5, 0.002, 0.00005, Biquad::bandPass(hz * 3, 1.0), random);
    return out;
}

Buffer cowbell(Random &random)
{
    Buffer out = silence(0.5);
    for (double hz : {587.0, 845.0}) {
        for (int k = 1; k <= 5; k += 2)
            addMode(out, 0, hz * k, 0.6 / k, 0.12 / std::sqrt(k), 0.0002);
    }
    addNoiseBurst(out, 0, 0.3, 0.003, 0.0001, Biquad::bandPass(3000, 1.0), random);
    return out;
}

Buffer pop(double fromHz, double toHz)
{
    Buffer out = silence(0.12);
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / sampleRate;
        phase += twoPi * (fromHz + (toHz - fromHz) * std::min(1.0, t / 0.03)) / sampleRate;
        out[i] = std::min(1.0, t / 0.0005) * std::exp(-t / 0.025) * std::sin(phase);
    }
    return out;
}

SoundPackManifest reactionManifest(const char *id, const char *name, const char *description)
{
    SoundPackManifest manifest;
    manifest.id = QString::fromUtf8(id);
    manifest.name = QString::fromUtf8(name);
    manifest.author = QStringLiteral("Plinkly");
    manifest.switchType = QStringLiteral("Reaction");
    manifest.version = QStringLiteral("1.0");
    manifest.license = QStringLiteral("CC0-1.0");
    manifest.kind = SoundPackManifest::PackKind::reaction;
    manifest.metadata = std::map<QString, QString>{{QStringLiteral("description"), QString::fromUtf8(description)},
                                                   {QStringLiteral("formatVersion"), QStringLiteral("1")}};
    return manifest;
}

bool sillyOuchies(const QString &folder)
{
    const SoundPackManifest manifest =
        reactionManifest("silly-ouchies", "Silly Ouchies", "Cartoon yelps, oofs and boings for every tap.");
    PackWriter pack(QDir(folder).filePath(manifest.id), manifest);
    Random random(seedFor(manifest.id));
    auto add = [&](Buffer sound) { pack.add(KeyGroup::reaction, KeyPhase::down, finish(std::move(sound), 0.7, 0.01)); };

    add(voiced({0.42, contour(420, 520, 330), glide(vowelA, vowelU)}, random));
    add(voiced({0.50, contour(300, 360, 230), glide(vowelA, vowelU, 0.45)}, random));
    Buffer ouch = voiced({0.30, contour(360, 450, 320), glide(vowelA, vowelU, 0.5)}, random, 0.12);
    addNoiseBurst(ouch, 0.27, 0.5, 0.04, 0.006, Biquad::highPass(3200, 0.7), random);
    add(std::move(ouch));
    add(voiced({0.26, contour(260, 270, 190, 0.15), glide(vowelO, vowelU, 0.3), 0.25}, random));
    add(voiced({0.20, contour(650, 880, 860, 0.7), [](double) { return vowelI; }}, random));
    add(voiced({0.50, contour(380, 560, 300), [](double p) {
                    return p < 0.3 ? blend(vowelI, vowelA, p / 0.3) : blend(vowelA, vowelU, (p - 0.3) / 0.7);
                }},
               random));
    add(boing(190, 0.6, random));
    add(voiced({0.25, contour(1100, 1600, 1250, 0.4), [](double) { return Vowel{1200, 2500, 3500}; }, 0.1}, random));
    return pack.finish();
}

bool bonkBox(const QString &folder)
{
    const SoundPackManifest manifest =
        reactionManifest("bonk-box", "Bonk Box", "Wood blocks, cowbells, whistles and drums.");
    PackWriter pack(QDir(folder).filePath(manifest.id), manifest);
    Random random(seedFor(manifest.id));
    auto add = [&](Buffer sound) { pack.add(KeyGroup::reaction, KeyPhase::down, finish(std::move(sound), 0.7, 0.01)); };

    add(woodBlock(1100, random));
    add(woodBlock(760, random));
    add(cowbell(random));
    add(slide(1500, 420, 0.38, 0.015));
    add(thud(62, 0.45, random));
    add(pop(380, 1150));
    add(boing(140, 0.7, random));
    return pack.finish();
}

}

bool ReactionPacks::generate(const QString &folder)
{
    const bool ouchies = sillyOuchies(folder);
    const bool bonks = bonkBox(folder);
    return ouchies && bonks;
}

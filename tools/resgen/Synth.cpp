#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace Synth;

namespace {

constexpr double twoPi = 2.0 * std::numbers::pi;

struct Coefficients {
    double w0, cosW0, alpha;
};

Coefficients prepare(double frequency, double q)
{
    const double w0 = twoPi * std::clamp(frequency, 10.0, sampleRate * 0.45) / sampleRate;
    return {w0, std::cos(w0), std::sin(w0) / (2.0 * q)};
}

}

double Random::uniform()
{
    m_state ^= m_state >> 12;
    m_state ^= m_state << 25;
    m_state ^= m_state >> 27;
    return double((m_state * 0x2545F4914F6CDD1Dull) >> 11) * 0x1.0p-53;
}

Biquad Biquad::lowPass(double frequency, double q)
{
    const auto c = prepare(frequency, q);
    const double a0 = 1 + c.alpha;
    Biquad f;
    f.b0 = (1 - c.cosW0) / 2 / a0;
    f.b1 = (1 - c.cosW0) / a0;
    f.b2 = f.b0;
    f.a1 = -2 * c.cosW0 / a0;
    f.a2 = (1 - c.alpha) / a0;
    return f;
}

Biquad Biquad::highPass(double frequency, double q)
{
    const auto c = prepare(frequency, q);
    const double a0 = 1 + c.alpha;
    Biquad f;
    f.b0 = (1 + c.cosW0) / 2 / a0;
    f.b1 = -(1 + c.cosW0) / a0;
    f.b2 = f.b0;
    f.a1 = -2 * c.cosW0 / a0;
    f.a2 = (1 - c.alpha) / a0;
    return f;
}

Biquad Biquad::bandPass(double frequency, double q)
{
    const auto c = prepare(frequency, q);
    const double a0 = 1 + c.alpha;
    Biquad f;
    f.b0 = c.alpha / a0;
    f.b1 = 0;
    f.b2 = -c.alpha / a0;
    f.a1 = -2 * c.cosW0 / a0;
    f.a2 = (1 - c.alpha) / a0;
    return f;
}

double Biquad::process(double x)
{
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
}

Buffer Synth::silence(double seconds)
{
    return Buffer(std::size_t(std::ceil(seconds * sampleRate)), 0.0);
}

void Synth::addMode(Buffer &out, double startSeconds, double frequency, double amplitude, double decaySeconds,
                    double attackSeconds, double phase)
{
    const auto start = std::size_t(std::max(0.0, startSeconds) * sampleRate);
    const double decayStep = std::exp(-1.0 / (decaySeconds * sampleRate));
    const double attackStep = std::exp(-1.0 / (std::max(attackSeconds, 1e-6) * sampleRate));
    const double phaseStep = twoPi * frequency / sampleRate;
    double decay = 1.0;
    double attack = 1.0;
    for (std::size_t i = start; i < out.size() && decay > 1e-5; ++i) {
        out[i] += amplitude * (1.0 - attack) * decay * std::sin(phase);
        phase += phaseStep;
        decay *= decayStep;
        attack *= attackStep;
    }
}

void Synth::addNoiseBurst(Buffer &out, double startSeconds, double amplitude, double decaySeconds,
                          double attackSeconds, Biquad filter, Random &random)
{
    const auto start = std::size_t(std::max(0.0, startSeconds) * sampleRate);
    const double decayStep = std::exp(-1.0 / (decaySeconds * sampleRate));
    const double attackStep = std::exp(-1.0 / (std::max(attackSeconds, 1e-6) * sampleRate));
    double decay = 1.0;
    double attack = 1.0;
    for (std::size_t i = start; i < out.size() && decay > 1e-5; ++i) {
        out[i] += amplitude * (1.0 - attack) * decay * filter.process(random.noise());
        decay *= decayStep;
        attack *= attackStep;
    }
}

std::vector<float> Synth::finish(Buffer raw, double peak, double fadeSeconds)
{
    // A gentle high-pass keeps the sound centred without touching its low body.
    Biquad dcBlock = Biquad::highPass(25.0, 0.7);
    for (double &x : raw)
        x = dcBlock.process(x);

    double loudest = 0;
    for (double x : raw)
        loudest = std::max(loudest, std::abs(x));
    if (loudest <= 0)
        return std::vector<float>(raw.size(), 0.0f);

    std::size_t end = raw.size();
    while (end > 0 && std::abs(raw[end - 1]) < loudest * 1e-3)
        --end;
    const auto fade = std::size_t(fadeSeconds * sampleRate);
    end = std::min(raw.size(), std::max(end + fade / 2, fade * 3));
    raw.resize(end);
    const std::size_t fadeStart = end > fade ? end - fade : 0;
    for (std::size_t i = fadeStart; i < end; ++i) {
        const double position = double(i - fadeStart + 1) / double(end - fadeStart);
        raw[i] *= 0.5 * (1.0 + std::cos(std::numbers::pi * position));
    }

    const double gain = peak / loudest;
    std::vector<float> samples(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i)
        samples[i] = float(raw[i] * gain);
    return samples;
}

#pragma once

#include <cstdint>
#include <vector>

// Small sound-synthesis kit: damped modes, filtered noise bursts and a finishing pass that
// leaves every sound click-free at both ends and at a chosen peak level.
namespace Synth {
inline constexpr int sampleRate = 48000;

using Buffer = std::vector<double>;

// Deterministic generator (xorshift64*), so that every build writes the same files.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    double uniform(); // [0, 1)
    double between(double low, double high) { return low + (high - low) * uniform(); }
    double noise() { return between(-1.0, 1.0); }
    // A factor near 1 that varies a value by up to ±`amount`.
    double jitter(double amount) { return 1.0 + between(-amount, amount); }

private:
    std::uint64_t m_state;
};

// Two-pole filter (the well-known cookbook designs).
class Biquad {
public:
    static Biquad lowPass(double frequency, double q);
    static Biquad highPass(double frequency, double q);
    static Biquad bandPass(double frequency, double q);
    double process(double x);

private:
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

Buffer silence(double seconds);

// A sinusoid that rises over `attackSeconds` and decays with time constant `decaySeconds`.
void addMode(Buffer &out, double startSeconds, double frequency, double amplitude, double decaySeconds,
             double attackSeconds, double phase = 0.0);

// White noise shaped the same way and passed through `filter`.
void addNoiseBurst(Buffer &out, double startSeconds, double amplitude, double decaySeconds, double attackSeconds,
                   Biquad filter, Random &random);

// Removes DC, cuts the tail where it falls below -60 dB, fades the last `fadeSeconds` to
// silence and scales the sound to `peak`.
std::vector<float> finish(Buffer raw, double peak, double fadeSeconds = 0.005);
}

#pragma once

#include "Platform/MotionSensor.h"

#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <vector>

// Synthetic accelerometer recordings at 100 Hz, shaped like what a laptop's sensor reports:
// gravity on z, a little sensor noise, and the disturbances a test adds.
class MotionTrace {
public:
    static constexpr double rateHz = 100.0;

    explicit MotionTrace(double seconds, unsigned seed = 7)
        : m_samples(std::size_t(seconds * rateHz))
    {
        std::mt19937 random(seed);
        std::normal_distribution<double> noise(0.0, 0.003);
        for (std::size_t i = 0; i < m_samples.size(); ++i)
            m_samples[i] = {1000.0 + double(i) / rateHz, noise(random), noise(random), 1.0 + noise(random)};
    }

    // A damped ring that starts at full strength on the first sample at or after `at`.
    MotionTrace &ring(double at, double strengthG, double frequencyHz, double decaySeconds, double zShare = 1.0)
    {
        each([&](MotionSample &s, double t) {
            const double since = t - at;
            if (since < 0.0)
                return;
            const double value = strengthG * std::exp(-since / decaySeconds) * std::cos(2 * std::numbers::pi * frequencyHz * since);
            s.z += value * zShare;
            s.x += value * std::sqrt(1.0 - zShare * zShare);
        });
        return *this;
    }
    MotionTrace &tap(double at, double strengthG) { return ring(at, strengthG, 90.0, 0.012, 0.9); }

    // Key strikes a few times a second, each a faint short ring.
    MotionTrace &typing(double fromSeconds, double toSeconds, double peakG)
    {
        std::mt19937 random(11);
        std::uniform_real_distribution<double> gap(0.06, 0.2);
        std::uniform_real_distribution<double> strength(0.3 * peakG, peakG);
        for (double t = fromSeconds; t < toSeconds; t += gap(random))
            ring(t, strength(random), 200.0, 0.006);
        return *this;
    }

    // Carried while walking: a sway at the step rate and a jolt at every footfall.
    MotionTrace &walking(double footfallG = 0.0)
    {
        each([](MotionSample &s, double t) {
            s.z += 0.2 * std::sin(2 * std::numbers::pi * 1.8 * t) + 0.05 * std::sin(2 * std::numbers::pi * 3.6 * t + 0.5);
            s.x += 0.08 * std::sin(2 * std::numbers::pi * 0.9 * t);
        });
        if (footfallG > 0.0) {
            const double duration = double(m_samples.size()) / rateHz;
            for (double t = 0.25; t < duration; t += 1.0 / 1.8)
                ring(t, footfallG, 25.0, 0.03);
        }
        return *this;
    }

    // Gravity turns from z towards x by `degrees`, easing in and out between the two times.
    MotionTrace &turn(double fromSeconds, double toSeconds, double degrees)
    {
        each([&](MotionSample &s, double t) {
            const double progress = std::clamp((t - fromSeconds) / (toSeconds - fromSeconds), 0.0, 1.0);
            const double eased = 0.5 - 0.5 * std::cos(std::numbers::pi * progress);
            const double angle = eased * degrees * std::numbers::pi / 180.0;
            s.x += std::sin(angle);
            s.z += std::cos(angle) - 1.0;
        });
        return *this;
    }

    const std::vector<MotionSample> &samples() const { return m_samples; }

private:
    void each(const std::function<void(MotionSample &, double)> &change)
    {
        for (auto &sample : m_samples)
            change(sample, sample.uptimeSeconds - 1000.0);
    }

    std::vector<MotionSample> m_samples;
};

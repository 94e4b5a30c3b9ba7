#include "Services/Impact/ImpactDetector.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double hardestThresholdG = 0.40;
constexpr double lightestThresholdG = 0.05;
// The rest value follows gravity and posture; the orientation, slower still, tells tilting.
constexpr double restTimeConstant = 0.25;
constexpr double orientationTimeConstant = 0.5;
constexpr double noiseTimeConstant = 1.0;
constexpr double tiltRateTimeConstant = 0.15;
// A tap jumps within one sample by at least this share of the threshold.
constexpr double jerkShare = 0.6;
// ... and stands this far above the vibration floor.
constexpr double floorRatio = 4.0;
// Turning faster than this (g per second of gravity moving between axes, about 45° per
// second) is tilting or lid motion, and silences the detector for a moment.
constexpr double tiltLimitGPerSecond = 0.8;
constexpr double tiltQuietSeconds = 0.4;
// Time the floor needs to settle after the first sample or a gap in the readings.
constexpr double warmUpSeconds = 0.5;
constexpr double longestGapSeconds = 0.5;
constexpr double initialNoiseFloorG = 0.01;

double smoothing(double dt, double timeConstant)
{
    return 1.0 - std::exp(-dt / timeConstant);
}

}

double ImpactDetector::thresholdG(double sensitivity)
{
    const double s = std::isfinite(sensitivity) ? std::clamp(sensitivity, 0.0, 1.0) : 0.0;
    return hardestThresholdG * std::pow(lightestThresholdG / hardestThresholdG, s);
}

void ImpactDetector::setSensitivity(double sensitivity)
{
    m_threshold = thresholdG(sensitivity);
}

void ImpactDetector::setCooldown(double seconds)
{
    m_cooldownSeconds = std::isfinite(seconds) ? std::max(0.0, seconds) : 0.0;
}

void ImpactDetector::reset()
{
    m_primed = false;
    m_lastImpact.reset();
}

std::optional<Impact> ImpactDetector::process(const MotionSample &sample)
{
    const Vector a{sample.x, sample.y, sample.z};
    const double t = sample.uptimeSeconds;
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(a.z) || !std::isfinite(t))
        return std::nullopt;
    if (!m_primed || t - m_lastTime > longestGapSeconds || t < m_lastTime) {
        m_primed = true;
        m_primedAt = t;
        m_lastTime = t;
        m_rest = m_orientation = m_previous = a;
        m_noiseFloor = initialNoiseFloorG;
        m_tiltRate = 0.0;
        m_quietUntil = t;
        return std::nullopt;
    }
    const double dt = std::max(t - m_lastTime, 1e-4);

    const auto distance = [](const Vector &p, const Vector &q) {
        return std::sqrt((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y) + (p.z - q.z) * (p.z - q.z));
    };
    const double deviation = distance(a, m_rest);
    const double jerk = distance(a, m_previous);

    std::optional<Impact> impact;
    const bool settled = t - m_primedAt >= warmUpSeconds && t >= m_quietUntil;
    const bool rested = !m_lastImpact || t - *m_lastImpact >= std::max(m_cooldownSeconds, minimumGapSeconds);
    if (settled && rested && deviation >= m_threshold && jerk >= jerkShare * m_threshold
        && deviation >= floorRatio * m_noiseFloor) {
        impact = Impact{deviation, t};
        m_lastImpact = t;
    }

    const auto follow = [](Vector &value, const Vector &target, double share) {
        value.x += share * (target.x - value.x);
        value.y += share * (target.y - value.y);
        value.z += share * (target.z - value.z);
    };
    follow(m_rest, a, smoothing(dt, restTimeConstant));
    const Vector before = m_orientation;
    follow(m_orientation, a, smoothing(dt, orientationTimeConstant));
    m_tiltRate += smoothing(dt, tiltRateTimeConstant) * (distance(m_orientation, before) / dt - m_tiltRate);
    if (m_tiltRate > tiltLimitGPerSecond)
        m_quietUntil = std::max(m_quietUntil, t + tiltQuietSeconds);
    // A single jolt barely moves the floor; lasting vibration lifts it.
    m_noiseFloor += smoothing(dt, noiseTimeConstant) * (std::min(deviation, m_threshold) - m_noiseFloor);
    m_previous = a;
    m_lastTime = t;
    return impact;
}

#pragma once

#include "Platform/MotionSensor.h"

#include <optional>

// A tap worth a reaction: its strength in g and when the sensor saw it.
struct Impact {
    double strengthG = 0.0;
    double uptimeSeconds = 0.0;
};

// Tells a deliberate tap on the body or palm rest from everything else an accelerometer
// feels. A tap is a sudden jolt: the reading leaves its slowly moving rest value (gravity
// and posture) by more than the sensitivity's threshold within one sample, and stands well
// above the vibration of the last second. Typing and a knock on the table are too weak;
// walking is too smooth and raises the vibration floor; tilting the machine or moving the
// lid turns the rest value slowly and silences the detector until it settles.
class ImpactDetector {
public:
    // Smallest gap between two reported taps, whatever the cooldown, so one tap's ringing
    // is never a second tap.
    static constexpr double minimumGapSeconds = 0.12;

    // 0 (only hard taps) ... 1 (light taps); the threshold in g.
    static double thresholdG(double sensitivity);

    void setSensitivity(double sensitivity);
    void setCooldown(double seconds);
    std::optional<Impact> process(const MotionSample &sample);
    void reset();

private:
    struct Vector {
        double x = 0.0;
        double y = 0.0;
        double z = 0.0;
    };

    double m_threshold = thresholdG(0.6);
    double m_cooldownSeconds = 0.5;
    bool m_primed = false;
    double m_primedAt = 0.0;
    double m_lastTime = 0.0;
    Vector m_rest;
    Vector m_orientation;
    Vector m_previous;
    double m_noiseFloor = 0.0;
    double m_tiltRate = 0.0;
    double m_quietUntil = 0.0;
    std::optional<double> m_lastImpact;
};

#pragma once

#include "Effects/Pet/PetPose.h"

#include <array>
#include <optional>

// How a term moves to a new resting value: a damped spring given by its response (the period
// of the undamped oscillation) and damping fraction, an ease-in-out over a duration, or at once.
struct PetCurve {
    enum class Kind { spring, easeInOut, immediate };
    Kind kind = Kind::immediate;
    double response = 0;
    double dampingFraction = 1;
    double duration = 0;

    static PetCurve spring(double response, double dampingFraction)
    {
        return {Kind::spring, response, dampingFraction, 0};
    }
    static PetCurve easeInOut(double duration) { return {Kind::easeInOut, 0, 1, duration}; }
    static PetCurve immediate() { return {}; }
};

// Moves every term of the pose towards its resting value, each with the curve of the change
// that last moved it. A spring comes to rest once what it moves lies within half a device pixel
// of its target and moves slower than half a device pixel a second.
class PetAnimator {
public:
    const PetPoseValues &values() const { return m_values; }
    // Where every term is heading.
    PetPoseValues targets() const;
    void setDevicePixelRatio(double ratio) { m_devicePixelRatio = ratio; }
    // Terms whose resting value changes start moving along `curve`; the rest keep their course.
    void setTargets(const PetPoseValues &targets, PetCurve curve);
    // Advances by `seconds`; returns whether anything still moves.
    bool advance(double seconds);
    bool isSettled() const;
    // Puts every term on its resting value at once.
    void finish();
    // How long until what is drawn has moved a whole device pixel from where it is now; none
    // when the pose comes to rest before that, so its rest may be drawn at once.
    std::optional<double> secondsToNextPixel() const;

private:
    struct Channel {
        PetCurve curve;
        double from = 0;
        double elapsed = 0;
        double velocity = 0;
        double target = 0;
        bool moving = false;
    };
    static constexpr std::size_t channelCount = PetPoseValues::members.size();

    PetPoseValues m_values;
    double m_devicePixelRatio = 1;
    std::array<Channel, channelCount> m_channels = initialChannels();

    static std::array<Channel, channelCount> initialChannels();
};

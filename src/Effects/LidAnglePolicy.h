#pragma once

#include "Effects/LidCue.h"

#include <optional>

// Turns each new lid angle into a cue. It remembers whether it has had a reading (the first
// one only sets the scene) and whether the lid is tucked; the two thresholds apart keep a
// lid resting near one of them from cueing back and forth.
struct LidAnglePolicy {
    static constexpr double tuckedBelowDegrees = 45;
    static constexpr double reopenedAboveDegrees = 60;
    // Progress runs from 0 with the lid open this far to 1 with it this nearly shut.
    static constexpr double openDegrees = 120;
    static constexpr double shutDegrees = 30;

    bool hasReading = false;
    bool isTucked = false;

    // Nothing for an angle that is not a number.
    std::optional<LidCue> cue(double angleDegrees);

    // How far the lid has closed, 0...1.
    static double progress(double angleDegrees);
};

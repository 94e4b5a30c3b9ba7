#include "Effects/LidAnglePolicy.h"

#include <algorithm>
#include <cmath>

std::optional<LidCue> LidAnglePolicy::cue(double angle)
{
    if (!std::isfinite(angle))
        return std::nullopt;
    if (!hasReading) {
        hasReading = true;
        isTucked = angle < tuckedBelowDegrees;
        return std::nullopt;
    }
    if (!isTucked && angle < tuckedBelowDegrees) {
        isTucked = true;
        return LidCue::tucked;
    }
    if (isTucked && angle > reopenedAboveDegrees) {
        isTucked = false;
        return LidCue::reopened;
    }
    return std::nullopt;
}

double LidAnglePolicy::progress(double angle)
{
    if (!std::isfinite(angle))
        return 0;
    return std::clamp((openDegrees - angle) / (openDegrees - shutDegrees), 0.0, 1.0);
}

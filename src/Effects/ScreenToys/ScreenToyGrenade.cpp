#include "Effects/ScreenToys/ScreenToyGrenade.h"

#include <algorithm>
#include <cmath>
#include <numbers>

double ScreenToyGrenade::arcHeight() const
{
    const QPointF span = target - origin;
    return std::min(std::max(0.28 * std::hypot(span.x(), span.y()), 80.0), 200.0);
}

QPointF ScreenToyGrenade::position(double at) const
{
    const double elapsed = std::max(at - thrownAt, 0.0);
    if (elapsed < flightSeconds) {
        const double p = elapsed / flightSeconds;
        const QPointF straight = origin + (target - origin) * p;
        return {straight.x(), straight.y() + 4 * arcHeight() * p * (1 - p)};
    }
    const double rest = std::max(0.0, 1 - (elapsed - flightSeconds) / bounceSeconds);
    return {target.x(), target.y() + bounceHeight * std::sin(std::numbers::pi * rest)};
}

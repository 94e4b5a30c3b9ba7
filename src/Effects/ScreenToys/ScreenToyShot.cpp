#include "Effects/ScreenToys/ScreenToyShot.h"

#include <algorithm>

namespace {
bool isRapid(ScreenToyKind kind)
{
    return kind == ScreenToyKind::ak47;
}
}

double ScreenToyShot::flightSeconds() const
{
    return isRapid(kind) ? 0.08 : 0.12;
}

double ScreenToyShot::recoil(double at, bool reduceMotion) const
{
    if (reduceMotion)
        return 0;
    const double duration = isRapid(kind) ? 0.095 : 0.18;
    const double amplitude = isRapid(kind) ? 15 : 7;
    const double elapsed = at - firedAt;
    if (elapsed < 0 || elapsed >= duration)
        return 0;
    const double p = elapsed / duration;
    return std::min(p / 0.12, 1.0) * (1 - p) * (1 - p) * amplitude;
}

std::optional<QPointF> ScreenToyShot::projectile(double at, bool reduceMotion) const
{
    if (reduceMotion)
        return std::nullopt;
    const double elapsed = at - firedAt;
    const double flight = flightSeconds();
    if (elapsed < 0 || elapsed > flight)
        return std::nullopt;
    return origin + (target - origin) * (elapsed / flight);
}

std::optional<std::pair<QPointF, QPointF>> ScreenToyShot::stream(double at, bool reduceMotion) const
{
    if (reduceMotion)
        return std::nullopt;
    const double elapsed = at - firedAt;
    const double flight = flightSeconds();
    // The tail runs in twice as fast as the head flew.
    if (elapsed < 0 || elapsed > 1.5 * flight)
        return std::nullopt;
    const QPointF way = target - origin;
    return std::pair{origin + way * std::max(2 * (elapsed / flight - 1), 0.0), origin + way * std::min(elapsed / flight, 1.0)};
}

double ScreenToyShot::muzzleFlashOpacity(double at, bool reduceMotion) const
{
    if (reduceMotion)
        return 0;
    const double duration = isRapid(kind) ? 0.045 : 0.065;
    const double elapsed = at - firedAt;
    if (elapsed < 0 || elapsed >= duration)
        return 0;
    return 1 - elapsed / duration;
}

double ScreenToyShot::impactOpacity(double at, bool reduceMotion) const
{
    const double start = reduceMotion ? 0 : flightSeconds();
    const double elapsed = at - firedAt;
    if (elapsed < start || elapsed >= impactSeconds)
        return 0;
    return 1 - (elapsed - start) / (impactSeconds - start);
}

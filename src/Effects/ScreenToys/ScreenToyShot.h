#pragma once

#include "Effects/ScreenToys/ScreenToyKind.h"

#include <QPointF>

#include <optional>
#include <utility>

// One projectile of the blaster, water gun or AK-47, in global coordinates (y up). The curves
// take the current time and say how the shot looks then.
struct ScreenToyShot {
    QPointF origin;
    QPointF target;
    double firedAt = 0;
    ScreenToyKind kind = ScreenToyKind::blaster;

    // The weapon's kick in points.
    double recoil(double at, bool reduceMotion) const;
    std::optional<QPointF> projectile(double at, bool reduceMotion) const;
    // The water gun's stream as its tail and head: the head flies to the target and reaches it
    // as the splash starts, then the tail runs in after it.
    std::optional<std::pair<QPointF, QPointF>> stream(double at, bool reduceMotion) const;
    double muzzleFlashOpacity(double at, bool reduceMotion) const;
    double impactOpacity(double at, bool reduceMotion) const;

    static constexpr double impactSeconds = 3.0;
    // How long the projectile flies.
    double flightSeconds() const;
};

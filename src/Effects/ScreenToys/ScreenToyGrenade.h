#pragma once

#include <QPointF>

// A thrown grenade: it arcs from the throwing hand to the click, bounces once and detonates.
struct ScreenToyGrenade {
    static constexpr double flightSeconds = 0.65;
    static constexpr double bounceSeconds = 0.3;
    static constexpr double bounceHeight = 26;
    static constexpr double detonationSeconds = 1.05;
    static constexpr double lifetimeSeconds = 7.0;

    QPointF origin;
    QPointF target;
    double thrownAt = 0;
    bool didPlayBlast = false;

    // The body's position in flight, in global coordinates (y up).
    QPointF position(double at) const;
    // How far the arc rises above the straight line at its middle.
    double arcHeight() const;
};

#pragma once

#include <QPointF>

#include <limits>
#include <optional>
#include <vector>

// The whip's rope: joints from the handle (index 0) to the tip, moved by position-based
// steps. A fast stroke followed by a fast pull-back cracks the tip a moment later.
struct WhipMotion {
    static constexpr int jointCount = 11;
    static constexpr double armingSpeed = 1100;
    static constexpr double armingDistance = 120;
    static constexpr double swingWindowSeconds = 0.45;
    static constexpr double pullbackDistanceNeeded = 35;
    static constexpr double crackDelaySeconds = 0.055;

    std::vector<QPointF> points;
    int lashCount = 0;
    bool isSettled = true;
    double lastLashSpeed = 0;
    double segmentLength = 24;
    std::vector<QPointF> previousPoints;
    QPointF anchor;
    QPointF lastDragPoint;
    double lastDragTime = 0;
    double lastLashTime = -std::numeric_limits<double>::infinity();
    bool isDragging = false;
    double swingDistance = 0;
    // Unit direction of an armed fast stroke.
    std::optional<QPointF> swingDirection;
    double armedAt = 0;
    double pullbackDistance = 0;
    // Seconds of simulation left until an armed crack fires.
    std::optional<double> pendingCrack;
    QPointF crackDirection;

    // The handle is grabbed at `at`; a rope not yet laid out is laid out from there.
    void begin(QPointF at, double time);
    // One pointer sample while the handle is held.
    void drag(QPointF to, double time);
    // One simulation step; true when a crack fired in it.
    bool advance(double dt);

    // Where joint i hangs when the rope is left alone.
    QPointF restPoint(int i) const;
};

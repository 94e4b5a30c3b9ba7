#pragma once

#include "Effects/ScreenToys/ScreenToyKind.h"

#include <QPointF>
#include <QRectF>

// Where the first-person hands sit on a display and where their weapon's muzzle is, in the
// canvas's coordinates (y up, 0 at the bottom of the display).
struct ScreenToyPOVLayout {
    QRectF handsFrame;
    QPointF pivot;
    QPointF muzzle;
    QPointF localTarget;
    // Where the barrel points from the pivot, clockwise in radians from straight up: towards the
    // target, but never further down than the hands can turn the toy and keep it in sight.
    double bearing = 0;
    // Clockwise turn of the artwork in radians; 0 points straight up.
    double angle = 0;
};

namespace ScreenToyPOV {
// `target` is global; the hands square sits at the bottom centre of the display, turned
// about its pivot so that the barrel points at the target.
ScreenToyPOVLayout layout(const QRectF &screenFrame, QPointF target, ScreenToyKind kind);
}

#pragma once

#include <QRectF>

// One screen as a chaos run sees it, in global coordinates with y growing upwards.
struct ChaosScreen {
    QRectF frame;        // the whole screen
    QRectF visibleFrame; // without panels and docks: where the chaos panel goes
};

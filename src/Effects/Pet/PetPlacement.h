#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

// A panel position kept as fractions of an area's free room (the area less the panel), so it
// survives screen changes. Global coordinates, y up: (0, 0) is the bottom-left corner, (1, 0)
// the bottom-right one and the default.
struct PetPlacement {
    double x = 1.0;
    double y = 0.0;

    // The placement of a panel at `origin` inside `visibleFrame`, each fraction within 0...1.
    static PetPlacement normalized(QPointF origin, QRectF visibleFrame, QSizeF panelSize);

    // The default placement when either fraction is not a finite number.
    PetPlacement sanitized() const;

    // The panel origin for this placement inside `visibleFrame`; always finite.
    QPointF origin(QRectF visibleFrame, QSizeF panelSize) const;

    friend bool operator==(const PetPlacement &, const PetPlacement &) = default;
};

#pragma once

#include <QPainter>
#include <QRectF>

#include <functional>

// Qt's raster engine hands every blend of more than 96 spans to the global thread pool and
// waits for it: a thread switch each time, which on a busy or single core costs far more than
// the blend. Drawn through clips a few device rows high, no blend gets that long.
namespace BandPainting {
// Runs `paint` once per band of at most 20 device rows across `area` (in the painter's
// current coordinates, turned or not), clipped to that band.
void paintInBands(QPainter &painter, const QRectF &area, const std::function<void()> &paint);
}

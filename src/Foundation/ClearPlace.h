#pragma once

#include <QPointF>
#include <QRectF>

#include <optional>
#include <span>

// Where a rectangle goes to stay clear of others by a margin, inside an area. Works the same
// in either vertical orientation.
namespace ClearPlace {

// Where the frame is when it already keeps the margin from every window; else the nearest
// origin inside the area that does (beside a window or against the area's edge); none when no
// such place exists.
std::optional<QPointF> nearest(QRectF frame, std::span<const QRectF> windows, QRectF area, double margin);

}

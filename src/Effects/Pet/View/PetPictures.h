#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

// Picture operations the pet's drawing prepares once and then reuses.
namespace PetPictures {
// A copy of `image` with each colour channel multiplied by the tint's.
QImage multiplied(const QImage &image, const QColor &tint);

// The alpha of `image` blurred by about `radius` points, filled with `color`, on a canvas grown
// by the radius on every side: a drop shadow.
QImage blurredShape(const QImage &image, const QColor &color, double radius);

// The smallest rectangle of `image`'s pixels holding every pixel that is not fully transparent.
QRect opaqueBounds(const QImage &image);
}

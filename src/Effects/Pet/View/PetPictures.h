#pragma once

#include <QColor>
#include <QImage>

// Picture operations the pet's drawing prepares once and then reuses.
namespace PetPictures {
// A copy of `image` with each colour channel multiplied by the tint's.
QImage multiplied(const QImage &image, const QColor &tint);

// The alpha of `image` blurred by about `radius` points, filled with `color`, on a canvas grown
// by the radius on every side: a drop shadow.
QImage blurredShape(const QImage &image, const QColor &color, double radius);
}

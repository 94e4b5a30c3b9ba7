#pragma once

#include <QImage>
#include <QRect>

// The smallest rectangle of `image`'s pixels holding every pixel that is not fully transparent;
// null when there is none.
QRect opaqueBounds(const QImage &image);

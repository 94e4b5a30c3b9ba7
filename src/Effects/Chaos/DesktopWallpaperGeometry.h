#pragma once

#include <QRectF>
#include <QSizeF>

// Fits the desktop picture to a screen the way the desktop does (aspect fill over the whole
// screen), in the space whose origin is the effect frame's origin; y grows upwards.
namespace DesktopWallpaperGeometry {
QRectF spriteFrame(QSizeF imageSize, const QRectF &screenFrame, const QRectF &effectFrame);
}

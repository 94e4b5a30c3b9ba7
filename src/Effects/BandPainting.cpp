#include "Effects/BandPainting.h"

#include <algorithm>

namespace {
// An antialiased edge on each side makes up to three spans a row.
constexpr int bandDeviceRows = 20;
}

namespace BandPainting {
void paintInBands(QPainter &painter, const QRectF &area, const std::function<void()> &paint)
{
    const QTransform world = painter.worldTransform();
    const QTransform toDevice = painter.deviceTransform();
    // The world transform under which clip rectangles are in device pixels: the device's own
    // scale (its pixel ratio) undone.
    const QTransform devicePixels = (world.inverted() * toDevice).inverted();
    QRect device = toDevice.mapRect(area).toAlignedRect();
    // Bands off the device draw nothing (its size is in pixels for an image, in points for a widget).
    if (const QPaintDevice *target = painter.device()) {
        const double ratio = target->devicePixelRatio();
        device &= QRectF(0, 0, target->width() * ratio, target->height() * ratio).toAlignedRect();
    }
    for (int top = device.top(); top <= device.bottom(); top += bandDeviceRows) {
        painter.save();
        painter.setWorldTransform(devicePixels);
        painter.setClipRect(QRect(device.left(), top, device.width(), std::min(bandDeviceRows, device.bottom() + 1 - top)),
                            Qt::IntersectClip);
        painter.setWorldTransform(world);
        paint();
        painter.restore();
    }
}
}

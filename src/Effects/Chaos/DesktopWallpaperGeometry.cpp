#include "Effects/Chaos/DesktopWallpaperGeometry.h"

#include <algorithm>

QRectF DesktopWallpaperGeometry::spriteFrame(QSizeF imageSize, const QRectF &screenFrame, const QRectF &effectFrame)
{
    if (imageSize.width() <= 0 || imageSize.height() <= 0)
        return {0, 0, effectFrame.width(), effectFrame.height()};
    const qreal scale = std::max(screenFrame.width() / imageSize.width(), screenFrame.height() / imageSize.height());
    const qreal w = imageSize.width() * scale;
    const qreal h = imageSize.height() * scale;
    const QPointF centre = screenFrame.center();
    return {centre.x() - effectFrame.x() - w / 2, centre.y() - effectFrame.y() - h / 2, w, h};
}

#include "Effects/OpaqueBounds.h"

#include <algorithm>

QRect opaqueBounds(const QImage &image)
{
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int left = source.width(), right = -1, top = source.height(), bottom = -1;
    for (int y = 0; y < source.height(); ++y) {
        const auto *pixel = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if (qAlpha(pixel[x]) == 0)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = y;
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

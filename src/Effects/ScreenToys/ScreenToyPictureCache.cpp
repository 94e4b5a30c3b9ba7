#include "Effects/ScreenToys/ScreenToyPictureCache.h"

#include "Effects/BandPainting.h"

#include <cmath>
#include <iterator>
#include <utility>

namespace {
QTransform linearPart(const QTransform &t)
{
    return QTransform(t.m11(), t.m12(), t.m21(), t.m22(), 0, 0);
}
}

void ScreenToyPictureCache::draw(QPainter &painter, const Key &key, QPointF at, const QRectF &extent, double opacity,
                                 const std::function<void(QPainter &)> &draw)
{
    if (opacity <= 0)
        return;
    const QTransform device = painter.deviceTransform();
    const QTransform linear = linearPart(device);
    auto found = m_pictures.find(key);
    if (found == m_pictures.end() || found->second.linear != linear) {
        const QRect box = linear.mapRect(extent).toAlignedRect();
        Picture picture{QImage(box.size(), QImage::Format_ARGB32_Premultiplied), box.topLeft(), linear};
        picture.image.fill(Qt::transparent);
        QPainter on(&picture.image);
        on.setRenderHint(QPainter::Antialiasing);
        on.setRenderHint(QPainter::SmoothPixmapTransform);
        on.setTransform(linear * QTransform::fromTranslate(-box.left(), -box.top()));
        draw(on);
        on.end();
        found = m_pictures.insert_or_assign(key, std::move(picture)).first;
    }
    Picture &picture = found->second;
    picture.used = true;
    // Whole device pixels, so the blit needs no resampling; the picture moves by under half a pixel.
    const QPointF anchor = device.map(at);
    const QPoint topLeft = QPoint(int(std::lround(anchor.x())), int(std::lround(anchor.y()))) + picture.offset;
    painter.save();
    painter.resetTransform();
    const QTransform unscaled = painter.deviceTransform();
    picture.image.setDevicePixelRatio(unscaled.m11());
    painter.setOpacity(painter.opacity() * opacity);
    // Pixel for pixel: unfiltered, Qt blends the picture directly.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRectF area(unscaled.inverted().map(QPointF(topLeft)), picture.image.deviceIndependentSize());
    BandPainting::paintInBands(painter, area, [&] { painter.drawImage(area.topLeft(), picture.image); });
    painter.restore();
}

void ScreenToyPictureCache::endPaint()
{
    for (auto entry = m_pictures.begin(); entry != m_pictures.end();)
        entry = std::exchange(entry->second.used, false) ? std::next(entry) : m_pictures.erase(entry);
}

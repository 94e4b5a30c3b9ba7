#include "Effects/ScreenToys/ScreenToyPictureCache.h"

#include "Effects/BandPainting.h"
#include "Effects/OpaqueBounds.h"

#include <algorithm>
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
    drawPicture(painter, key, at, extent, opacity, draw, false);
}

void ScreenToyPictureCache::drawOnceStill(QPainter &painter, const Key &key, QPointF at, const QRectF &extent,
                                          double opacity, const std::function<void(QPainter &)> &draw)
{
    if (m_pictures.contains(key) || std::find(m_drawnStraightBefore.begin(), m_drawnStraightBefore.end(), key)
                                        != m_drawnStraightBefore.end()) {
        drawPicture(painter, key, at, extent, opacity, draw, true);
        return;
    }
    m_drawnStraight.push_back(key);
    if (opacity <= 0)
        return;
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    painter.translate(at);
    draw(painter);
    painter.restore();
}

void ScreenToyPictureCache::drawPicture(QPainter &painter, const Key &key, QPointF at, const QRectF &extent,
                                        double opacity, const std::function<void(QPainter &)> &draw, bool keepPhase)
{
    if (opacity <= 0)
        return;
    const QTransform device = painter.deviceTransform();
    const QTransform linear = linearPart(device);
    const QPointF anchor = device.map(at);
    auto found = m_pictures.find(key);
    if (found == m_pictures.end() || found->second.linear != linear) {
        const QPointF phase = keepPhase ? anchor - QPointF(std::floor(anchor.x()), std::floor(anchor.y())) : QPointF();
        const QRect box = linear.mapRect(extent).translated(phase).toAlignedRect();
        Picture picture{QImage(box.size(), QImage::Format_ARGB32_Premultiplied), box.topLeft(), linear, phase};
        picture.image.fill(Qt::transparent);
        QPainter on(&picture.image);
        on.setRenderHint(QPainter::Antialiasing);
        on.setRenderHint(QPainter::SmoothPixmapTransform);
        on.setTransform(linear * QTransform::fromTranslate(phase.x() - box.left(), phase.y() - box.top()));
        draw(on);
        on.end();
        // Only the part that shows: blitting the clear rest costs as much.
        const QRect shown = opaqueBounds(picture.image);
        picture.image = shown.isEmpty() ? QImage() : picture.image.copy(shown);
        picture.offset += shown.topLeft();
        found = m_pictures.insert_or_assign(key, std::move(picture)).first;
    }
    Picture &picture = found->second;
    picture.used = true;
    // Whole device pixels, so the blit needs no resampling; the picture moves by under half a pixel.
    const QPointF origin = anchor - picture.phase;
    const QPoint topLeft = QPoint(int(std::lround(origin.x())), int(std::lround(origin.y()))) + picture.offset;
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
    m_drawnStraightBefore = std::exchange(m_drawnStraight, {});
    for (auto entry = m_pictures.begin(); entry != m_pictures.end();)
        entry = std::exchange(entry->second.used, false) ? std::next(entry) : m_pictures.erase(entry);
}

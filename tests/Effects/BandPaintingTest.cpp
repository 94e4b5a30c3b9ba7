#include "Effects/BandPainting.h"

#include <QRadialGradient>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {
// A canvas at twice the pixels, drawn y-up and turned, as the screen toys draw: an antialiased
// disc with a gradient and a picture, each through bands when `banded`.
QImage drawn(bool banded, const QRectF &clip = {})
{
    QImage canvas(400, 300, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(2);
    canvas.fill(Qt::transparent);
    QImage picture(60, 40, QImage::Format_ARGB32_Premultiplied);
    picture.fill(QColor(200, 40, 90, 160));
    QPainter painter(&canvas);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    if (!clip.isNull())
        painter.setClipRect(clip);
    painter.translate(0, 150);
    painter.scale(1, -1);
    painter.translate(100, 70);
    painter.rotate(17);
    const auto draw = [&](const QRectF &area, const std::function<void()> &paint) {
        if (banded)
            BandPainting::paintInBands(painter, area, paint);
        else
            paint();
    };
    QRadialGradient glow(QPointF(0, 0), 45);
    glow.setColorAt(0, QColor(255, 180, 80, 220));
    glow.setColorAt(1, QColor(255, 180, 80, 40));
    painter.setBrush(glow);
    painter.setPen(Qt::NoPen);
    const QRectF disc(-45, -45, 90, 90);
    draw(disc, [&] { painter.drawEllipse(disc); });
    const QRectF target(-20.5, 10.25, 75, 50);
    draw(target, [&] { painter.drawImage(target, picture); });
    return canvas;
}
}

TEST(BandPainting, DrawsWhatOnePassDrawsWithinTheClipAlreadySet)
{
    for (const QRectF &clip : {QRectF(), QRectF(60, 40, 70, 50)}) {
        const QImage whole = drawn(false, clip);
        const QImage bands = drawn(true, clip);
        // Edge coverage may round one step apart where a band cuts a span.
        int worst = 0;
        for (int y = 0; y < whole.height(); ++y) {
            for (int x = 0; x < whole.width(); ++x) {
                const QRgb a = whole.pixel(x, y), b = bands.pixel(x, y);
                worst = std::max({worst, std::abs(qAlpha(a) - qAlpha(b)), std::abs(qRed(a) - qRed(b)),
                                  std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
            }
        }
        EXPECT_LE(worst, 2) << "clip " << clip.width();
        if (!clip.isNull()) {
            EXPECT_EQ(qAlpha(bands.pixel(40, 150)), 0) << "the disc left of the clip stays out";
        }
    }
}

TEST(BandPainting, BandsAreAFewDevicePixelsHighAndStayOnTheDevice)
{
    QImage canvas(100, 400, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(2);
    QPainter painter(&canvas);
    const auto bands = [&](const QRectF &area) {
        int count = 0;
        BandPainting::paintInBands(painter, area, [&] { ++count; });
        return count;
    };
    EXPECT_EQ(bands(QRectF(0, 10, 20, 50)), 5) << "100 device rows";
    EXPECT_EQ(bands(QRectF(0, 10, 20, 50.25)), 6) << "a part row is a row";
    EXPECT_EQ(bands(QRectF(0, -1000, 20, 1050)), 5) << "only the rows on the device";
    EXPECT_EQ(bands(QRectF(0, 900, 20, 50)), 0);
}

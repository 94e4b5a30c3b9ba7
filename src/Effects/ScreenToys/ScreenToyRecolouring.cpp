#include "Effects/ScreenToys/ScreenToyRecolouring.h"

#include "Effects/ScreenToys/ScreenToyHandsLayout.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
// The protected path rasterised over one frame `side` pixels wide: a pixel is inside when the
// path contains the pixel's top-left corner, the point its unit coordinates name.
QImage protectionMask(const QPainterPath &unitPath, int side, int height)
{
    QImage mask(side, height, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.translate(0.5, 0.5);
    painter.scale(side, side);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(unitPath);
    return mask;
}

double highlightWeight(double u, double v, const std::vector<QRectF> &zones)
{
    double weight = 0;
    for (const QRectF &zone : zones) {
        if (!zone.contains(u, v))
            continue;
        const double dx = (u - zone.center().x()) / (zone.width() / 2);
        const double dy = (v - zone.center().y()) / (zone.height() / 2);
        const double q = std::clamp((1 - dx * dx - dy * dy) / 0.45, 0.0, 1.0);
        weight = std::max(weight, q * q * (3 - 2 * q));
    }
    return weight;
}
}

namespace ScreenToyRecolouring {
std::array<double, 3> multipliers(ScreenToyHandTone tone)
{
    switch (tone) {
    case ScreenToyHandTone::original:
        return {1, 1, 1};
    case ScreenToyHandTone::light:
        return {1.16, 1.19, 1.23};
    case ScreenToyHandTone::tan:
        return {0.85, 0.75, 0.66};
    case ScreenToyHandTone::brown:
        return {0.62, 0.48, 0.38};
    case ScreenToyHandTone::deep:
        return {0.39, 0.28, 0.23};
    }
    return {1, 1, 1};
}

double skinStrength(double red, double green, double blue)
{
    if (!(red > green) || blue > green)
        return 0;
    return std::clamp((red - blue - 0.06) / 0.08, 0.0, 1.0);
}

Regions regions(ScreenToyKind kind)
{
    switch (kind) {
    case ScreenToyKind::blaster:
    case ScreenToyKind::whip:
        return {0.33, std::nullopt, false, {}};
    case ScreenToyKind::waterGun:
        return {0.5, std::nullopt, false, {}};
    case ScreenToyKind::ak47:
        return {0.2, ScreenToyHandsLayout::rifleWood(), false, {}};
    case ScreenToyKind::grenade: {
        // The projectile's strip and the grenade in the hand keep their colour, all but the
        // fingers closed over it.
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        path.addRect(QRectF(0.61, 0, 0.39, 1));
        path.addPath(ScreenToyHandsLayout::grenadeInHand());
        return {0, path, true, ScreenToyHandsLayout::grenadeKnuckles()};
    }
    }
    return {};
}

std::optional<QImage> apply(ScreenToyHandTone tone, const QImage &image, const Regions &regions, int frames)
{
    if (tone == ScreenToyHandTone::original)
        return image;
    if (image.isNull())
        return std::nullopt;
    QImage out = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    if (out.isNull())
        return std::nullopt;
    const int width = out.width();
    const int height = out.height();
    const int side = std::max(width / std::max(frames, 1), 1);
    const auto [mRed, mGreen, mBlue] = multipliers(tone);
    const std::array<double, 3> scale{mRed - 1, mGreen - 1, mBlue - 1};
    QImage mask;
    if (regions.protectedWarmPath) {
        QPainterPath path = *regions.protectedWarmPath;
        path.setFillRule(Qt::WindingFill);
        mask = protectionMask(path, side, height);
    }

    const int firstRow = std::min(int(std::clamp(regions.handRegionStartsAt, 0.0, 1.0) * side), height);
    for (int row = firstRow; row < height; ++row) {
        uchar *pixel = out.scanLine(row);
        const double v = double(row) / side;
        const uchar *maskRow = mask.isNull() ? nullptr : mask.constScanLine(row);
        for (int column = 0; column < width; ++column, pixel += 4) {
            const int alpha = pixel[3];
            if (alpha == 0)
                continue;
            const int frameColumn = column % side;
            const double u = double(frameColumn) / side;
            const double red = double(pixel[0]) / alpha;
            const double green = double(pixel[1]) / alpha;
            const double blue = double(pixel[2]) / alpha;
            const double highlight = highlightWeight(u, v, regions.skinHighlightRegions);
            if (maskRow && maskRow[frameColumn] != 0 && highlight == 0) {
                const bool clearlySkin = regions.skinOverridesProtection && u < 0.6 && blue < green
                    && red - green > 0.07;
                if (!clearlySkin)
                    continue;
            }
            const double weight = std::max(skinStrength(red, green, blue), highlight);
            if (weight == 0)
                continue;
            for (int channel = 0; channel < 3; ++channel) {
                const double value = std::round(pixel[channel] * (1 + scale[std::size_t(channel)] * weight));
                pixel[channel] = uchar(std::clamp(value, 0.0, double(alpha)));
            }
        }
    }
    return out;
}
}

#pragma once

#include "Effects/ScreenToys/ScreenToyHandTone.h"
#include "Effects/ScreenToys/ScreenToyKind.h"

#include <QImage>
#include <QPainterPath>
#include <QRectF>

#include <optional>
#include <vector>

// Shifts the skin of the toys' artwork towards a hand tone and leaves the weapons alone.
// Regions are in unit coordinates of one frame: u across, v down, both divided by the frame's
// pixel width, so an image of two frames side by side uses them per frame, and any rows below
// the frame's top square have v above 1.
namespace ScreenToyRecolouring {
struct Regions {
    // Rows above this fraction of the frame's side are never touched.
    double handRegionStartsAt = 0;
    // Warm parts that are not skin keep their colour inside it (non-zero winding).
    std::optional<QPainterPath> protectedWarmPath;
    // Clearly skin-coloured pixels inside the protected path are recoloured anyway.
    bool skinOverridesProtection = false;
    // Elliptical zones recoloured with a weight fading from their centre, skin or not.
    std::vector<QRectF> skinHighlightRegions;
};

// The channel multipliers of a tone, (1, 1, 1) for the original.
std::array<double, 3> multipliers(ScreenToyHandTone tone);
// 0 (not skin) … 1 (clearly skin), from straight (not premultiplied) channels in 0…1.
double skinStrength(double red, double green, double blue);
Regions regions(ScreenToyKind kind);

// The image itself for the original tone; otherwise a recoloured copy, or nothing when the
// image holds no pixels. The image holds `frames` frames of equal width side by side.
std::optional<QImage> apply(ScreenToyHandTone tone, const QImage &image, const Regions &regions, int frames = 1);
}

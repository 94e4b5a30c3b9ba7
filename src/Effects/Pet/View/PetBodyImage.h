#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

// The dolphin's body picture, read once per process, and its tinted and shadow forms.
namespace PetBodyImage {
// The first of the files that reads as an image (a "@2x" sibling preferred), else a drawn
// wave symbol, so a missing resource still shows a body.
QImage load(const QStringList &candidates);

// The image from the resource bundle, else from the build's source tree; loaded on first use.
const QImage &mascotImage();

// The image fitted into the body's 64 x 62 pt cell at `ratio` device pixels a point, with every
// channel multiplied by the tint; cached per tint and ratio, so drawing never rescales it.
const QImage &tinted(const QColor &tint, double ratio);

// The fitted image's shape blurred by `radius` in one colour, for a drop shadow; cached per
// colour and ratio.
const QImage &shadow(const QColor &color, double radius, double ratio);
}

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

// The image with every channel multiplied by the tint; cached per tint.
const QImage &tinted(const QColor &tint);

// The image's shape blurred by `radius` in one colour, for a drop shadow; cached per colour.
const QImage &shadow(const QColor &color, double radius);
}

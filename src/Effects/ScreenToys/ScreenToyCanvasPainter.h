#pragma once

#include "Effects/ScreenToys/ScreenToyPOV.h"
#include "Effects/ScreenToys/ScreenToyPictureCache.h"
#include "Effects/ScreenToys/ScreenToyScene.h"

#include <QImage>
#include <QPolygonF>
#include <QTransform>
#include <QPainter>
#include <QRectF>
#include <QRegion>

#include <vector>

// Draws a scene on one display's canvas: grenades, wet patches, marks, then the toy. The
// painter must already be set up in canvas coordinates (y up, 0 at the display's bottom).
namespace ScreenToyCanvasPainter {
inline constexpr double markLifetime = 3.0;
inline constexpr double offscreenMargin = 50;

// What only fades is blitted from `pictures`, which keeps what this paint drew for the next.
void paint(QPainter &painter, const ScreenToyScene &scene, const QRectF &screenFrame, ScreenToyPictureCache &pictures);

// Whether a mark is drawn: younger than 3 s and within 50 pt of the display.
bool isMarkVisible(const ScreenToyMark &mark, double displayTime, const QRectF &screenFrame);
// The opacity of a wet patch at the scene's time (before the patch's own alpha).
double wetPatchOpacity(const ScreenToyWetPatch &patch, double displayTime);
// The rope's joints in canvas coordinates as a smooth curve: 8 points per joint after the first.
std::vector<QPointF> whipCurve(const std::vector<QPointF> &points, const QRectF &screenFrame);
// The part of the canvas the scene draws on, in canvas coordinates with y down (as a widget
// sees it), so only that is repainted.
QRegion damage(const ScreenToyScene &scene, const QRectF &screenFrame);

// The held toy's artwork, placed in the layout's hands square, into the canvas: turned about
// the pivot and, aimed to the right of it, mirrored, so the weapon never shows upside down.
QTransform povTransform(const ScreenToyPOVLayout &layout);
bool isMirrored(const ScreenToyPOVLayout &layout);
// How far below the bottom edge the shoulders sit, in units of the hands square's side.
inline constexpr double shoulderDepth = 0.35;
// An arm's sleeve from the artwork's wrist down to its shoulder below the display.
struct Sleeve {
    QPointF wrist;
    QPointF direction;
    QPointF shoulder;
    // Half the sleeve's width across its opening at the wrist.
    QPointF across;
    double width = 0;
    double cuffWidth = 0;
    QPolygonF outline;
};
std::vector<Sleeve> sleeves(const ScreenToyPOVLayout &layout, ScreenToyKind kind);
// Lays a sleeve's outline from its wrist to its shoulder: leaving the wrist along its direction
// for `wristReach`, arriving at the shoulder from `shoulderReach` above it, and `widening` its
// width by that share of the wrist's on the way.
void shapeSleeve(Sleeve &sleeve, double wristReach, double shoulderReach, double widening);
// What the held toy covers on the display, sleeves included, in canvas coordinates.
QRectF povExtent(const ScreenToyPOVLayout &layout, ScreenToyKind kind, const QRectF &screenFrame);

// Draws an image upright into a rectangle given in the painter's y-up coordinates.
void drawImage(QPainter &painter, const QRectF &target, const QImage &image, const QRectF &source = {});
// The same for images drawn again and again at one size: the part of the image is scaled to
// that size once, so each frame only blits it.
void drawImageAtFixedSize(QPainter &painter, const QRectF &target, const QImage &image, const QRectF &source = {});
}

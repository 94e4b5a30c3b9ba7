#pragma once

#include "Effects/ScreenToys/ScreenToyPictureCache.h"
#include "Effects/ScreenToys/ScreenToyScene.h"

#include <QImage>
#include <QPainter>
#include <QRectF>

// The grenade in flight, its explosion and the throwing hand, drawn from small rasters made
// once from the artwork. The painter is in canvas coordinates (y up).
namespace ScreenToyGrenadePainter {
void drawGrenade(QPainter &painter, ScreenToyPictureCache &pictures, const ScreenToyGrenade &grenade, const ScreenToyScene &scene,
                 const QRectF &screenFrame);
void drawGrenadeHand(QPainter &painter, const ScreenToyScene &scene, const QRectF &bounds);

// Built on first use and kept with the artwork; null when the artwork is missing.
QImage projectileRaster();
QImage craterRaster();
QImage fireRaster();
QImage smokeRaster();
// The throwing hand in a tone, cached per tone.
QImage grenadeHandRaster(ScreenToyHandTone tone);
// Builds the shared rasters and the hand of a tone ahead of the first throw.
void prepare(ScreenToyHandTone tone);

// How far the throwing hand swings (0…1) for the newest grenade.
double throwSwing(const ScreenToyScene &scene);
// The throwing hand's rectangle on a canvas of the given bounds, before its tilt.
QRectF handRect(const QRectF &bounds, double swing);
// The side of the crater square on a canvas of the given bounds.
double craterSide(const QRectF &bounds);
// The fireball at the heart of the blast: how long it burns and its radius a time after the blast.
inline constexpr double fireballSeconds = 0.6;
double fireballRadius(double sinceBlast);
// The projectile's drawn height at `elapsed` seconds after the throw, and its spin in radians.
double projectileSize(double elapsed);
double projectileRotation(double elapsed, bool reduceMotion);
// How far the explosion shakes the canvas sideways `sinceBlast` seconds after it.
double shakeOffset(double sinceBlast, bool reduceMotion);
// The explosion's overall opacity: full until its last 1.4 s.
double explosionFade(double elapsed);
}

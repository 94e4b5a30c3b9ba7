#pragma once

#include "Effects/ScreenToys/ScreenToyHandTone.h"
#include "Effects/ScreenToys/ScreenToyKind.h"

#include <QImage>
#include <QString>

#include <functional>

// The toys' artwork from the resource bundle's "ScreenToys" folder, decoded on first use and
// kept until `release` (while a toy is out); a file that fails to load stays missing until
// then. Null images stand for missing artwork. Used on the GUI thread.
namespace ScreenToyArtwork {
// The first-person artwork of a kind (none for the whip): square frames side by side; the held
// toys' arms are carried on from the wrists by the canvas.
const QImage &hands(ScreenToyKind kind);
// How many frames a kind's artwork holds (rest and fired for the blaster and the AK-47).
int frameCount(ScreenToyKind kind);
// The cracked glass of a blaster (also the AK-47) or whip mark.
const QImage &impact(ScreenToyKind kind);
const QImage &wetGlass();
const QImage &grenadeHands();
const QImage &grenadeCrater();
const QImage &grenadeFire();
const QImage &muzzleFlash();

// The kind's artwork in a hand tone, recoloured once per kind and tone and then cached; the
// original artwork itself for the original tone, or when recolouring fails (not cached then,
// so the next request tries again).
QImage artwork(ScreenToyKind kind, ScreenToyHandTone tone);

// An image made from the artwork, made once under the caller's `name` and kept until `release`.
QImage derived(const QString &name, const std::function<QImage()> &make);
// Frees the artwork and everything made from it; references returned before are invalid.
void release();
// Whether any artwork, tinted or derived image is held.
bool isLoaded();
}

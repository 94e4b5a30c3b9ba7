#pragma once

#include "Effects/ScreenToys/ScreenToyKind.h"

#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QTransform>

#include <array>
#include <vector>

// Where the held toys' artwork puts the hands, shared by the generator that draws it and the
// canvas that carries the arms on from the wrists, so the two always meet. Unit coordinates of
// one frame: u across, v down, the barrel along u = 0.5 pointing up, the weapon's underside
// (grip, magazine) to the left.
namespace ScreenToyHandsLayout {
// A fist closed round a grip: `centre` of the grip, `along` the grip (the fingers lie side by
// side along it), `towardsWrist` where the forearm leaves; `size` scales the standard hand.
struct Hand {
    QPointF centre;
    QPointF along;
    QPointF towardsWrist;
    double size = 1;

    // From the hand's own coordinates (x along the grip, y towards the wrist) to the frame's.
    QTransform transform() const;
};

// Where a forearm leaves the artwork: the middle of its cut, its direction on towards the
// elbow (unit length) and its width.
struct Wrist {
    QPointF centre;
    QPointF direction;
    double width = 0;
};

// The hand's outline in its own coordinates: palm, fingers, thumb and wrist as one shape.
QPainterPath handOutline();
// How far the wrist runs from the grip in the hand's own coordinates, and how wide it is.
inline constexpr double wristReach = 0.11;
inline constexpr double wristWidth = 0.075;

// The two hands of a held toy (none for the whip and the grenade), in drawing order.
std::vector<Hand> hands(ScreenToyKind kind);
// The wrists of those hands.
std::vector<Wrist> wrists(ScreenToyKind kind);

// The grenade held in the throwing hand of "grenade-hands.png", in unit coordinates of the
// whole square picture: the grenade's body, the fuse on top, and the knuckles of the fingers
// closed over it (their sheen is recoloured with the hand).
QPainterPath grenadeInHand();
std::vector<QRectF> grenadeKnuckles();

// The rifle is drawn along the line from the pivot to its muzzle, which sits a little left of
// the middle: this maps rifle coordinates (x to the top side, y back from the muzzle) to the
// frame's.
QTransform rifleAxis();
// The rifle's wooden handguard and stock in the frame, less the hands over them: warm but not
// skin, so the tone recolouring keeps it.
QPainterPath rifleWood();
}

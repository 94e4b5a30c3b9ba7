#pragma once

#include "Effects/Pet/PetDesktop.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>
#include <vector>

// Where the pet's panel may go, in global y-up coordinates.
namespace PetGeometry {
inline constexpr QSizeF closedPanelSize{170, 122};
inline constexpr QSizeF openPanelSize{220, 300};
inline constexpr double bodyWidth = 82;
inline constexpr double screenMargin = 8;

// How far the closed panel may hang past a screen's side edges, so the body itself can
// reach the very edge.
double overhang(QSizeF panelSize);

// The visible frame inset by the margin; with the menu closed it is widened to the whole
// screen's width plus the overhang on both sides.
QRectF placementArea(const PetScreen &screen, QSizeF panelSize, bool menuOpen);

// The origin a placement gives inside an area.
QPointF origin(QRectF area, QSizeF panelSize, double fractionX, double fractionY);

// The point the chasing panel's origin heads for: the pointer over the panel's centre, 72 %
// of its height up, kept inside the inset visible frame (the far bound wins when they cross).
QPointF chaseTarget(QPointF pointer, const PetScreen &screen, QSizeF panelSize);

// The panel's frame at a new size, keeping its horizontal centre and bottom edge where the
// area allows.
QRectF resized(QRectF frame, QSizeF size, const PetScreen &screen, bool expanded);

// How far the badge and the focus countdown reach from the figure's centre to either side.
inline constexpr double extrasReach = 78;
struct RoomBeside {
    bool left = true;
    bool right = true;
};
// Whether the badge and countdown fit on each side of a figure centred at x on a screen
// spanning left...right.
RoomBeside roomBeside(double figureCentreX, double screenLeft, double screenRight);

// The first screen whose frame holds the point, else none.
std::optional<PetScreen> screenContaining(const std::vector<PetScreen> &screens, QPointF point);
}

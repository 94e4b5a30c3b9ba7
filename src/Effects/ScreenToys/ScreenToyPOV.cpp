#include "Effects/ScreenToys/ScreenToyPOV.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double maxTurn = 0.6 * std::numbers::pi;
}

ScreenToyPOVLayout ScreenToyPOV::layout(const QRectF &screenFrame, QPointF target, ScreenToyKind kind)
{
    const double width = screenFrame.width();
    const double height = screenFrame.height();
    const double side = std::min({0.42 * width, 0.72 * height, 620.0});
    ScreenToyPOVLayout result;
    result.handsFrame = QRectF((width - side) / 2, 0, side, side);
    result.pivot = QPointF(width / 2, 0.28 * side);
    result.localTarget = target - screenFrame.topLeft();
    // Turned further down, the toy would point into the bottom edge and leave only the fists in
    // sight; aimed below that, the shot still flies from the muzzle to the target.
    const double theta = std::clamp(
        std::atan2(result.localTarget.x() - result.pivot.x(), result.localTarget.y() - result.pivot.y()),
        -maxTurn, maxTurn);
    result.bearing = theta;
    const double along = kind == ScreenToyKind::ak47 ? 0.70 * side
        : kind == ScreenToyKind::waterGun          ? 0.57 * side
                                                   : 0.62 * side;
    const double across = kind == ScreenToyKind::ak47 ? -0.025 * side : 0.0;
    result.angle = theta - std::atan2(across, along);
    const double a = result.angle;
    result.muzzle = result.pivot
        + QPointF(along * std::sin(a) + across * std::cos(a), along * std::cos(a) - across * std::sin(a));
    return result;
}

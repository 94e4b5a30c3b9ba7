#include "Effects/Pet/PetGeometry.h"

#include <algorithm>

namespace PetGeometry {

double overhang(QSizeF panelSize)
{
    return std::max((panelSize.width() - bodyWidth) / 2, 0.0);
}

QRectF placementArea(const PetScreen &screen, QSizeF panelSize, bool menuOpen)
{
    QRectF area = screen.visibleFrame.adjusted(screenMargin, screenMargin, -screenMargin, -screenMargin);
    if (!menuOpen) {
        const double extra = overhang(panelSize);
        area.setLeft(screen.frame.left() - extra);
        area.setWidth(screen.frame.width() + 2 * extra);
    }
    return area;
}

QPointF origin(QRectF area, QSizeF panelSize, double fractionX, double fractionY)
{
    return {area.left() + fractionX * std::max(area.width() - panelSize.width(), 0.0),
            area.top() + fractionY * std::max(area.height() - panelSize.height(), 0.0)};
}

QPointF chaseTarget(QPointF pointer, const PetScreen &screen, QSizeF panelSize)
{
    const QRectF area = screen.visibleFrame.adjusted(screenMargin, screenMargin, -screenMargin, -screenMargin);
    const double x = pointer.x() - 0.5 * panelSize.width();
    const double y = pointer.y() - 0.72 * panelSize.height();
    return {std::min(std::max(x, area.left()), area.right() - panelSize.width()),
            std::min(std::max(y, area.top()), area.bottom() - panelSize.height())};
}

QRectF resized(QRectF frame, QSizeF size, const PetScreen &screen, bool expanded)
{
    const QRectF area = placementArea(screen, closedPanelSize, expanded);
    const double x = std::min(area.right() - size.width(), std::max(area.left(), frame.center().x() - size.width() / 2));
    const double y = std::min(area.bottom() - size.height(), std::max(area.top(), frame.top()));
    return {QPointF(x, y), size};
}

RoomBeside roomBeside(double figureCentreX, double screenLeft, double screenRight)
{
    return {figureCentreX - extrasReach >= screenLeft, figureCentreX + extrasReach <= screenRight};
}

std::optional<PetScreen> screenContaining(const std::vector<PetScreen> &screens, QPointF point)
{
    for (const PetScreen &screen : screens) {
        if (screen.frame.contains(point))
            return screen;
    }
    return std::nullopt;
}
}

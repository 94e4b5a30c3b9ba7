#include "Effects/Pet/PetPlacement.h"

#include <algorithm>
#include <cmath>

namespace {
double finiteOr(double value, double fallback)
{
    return std::isfinite(value) ? value : fallback;
}

double normalizedAxis(double origin, double areaMin, double areaSize, double panelSize, double fallback)
{
    // A floor of 1 keeps a panel as large as the area at a finite fraction.
    const double room = std::max(areaSize - panelSize, 1.0);
    const double fraction = (origin - areaMin) / room;
    if (std::isnan(fraction))
        return fallback;
    return std::clamp(fraction, 0.0, 1.0);
}

double originAxis(double fraction, double areaMin, double areaSize, double panelSize)
{
    const double room = std::max(finiteOr(areaSize, 0.0) - finiteOr(panelSize, 0.0), 0.0);
    const double origin = finiteOr(areaMin, 0.0) + std::clamp(fraction, 0.0, 1.0) * room;
    return finiteOr(origin, 0.0);
}
}

PetPlacement PetPlacement::normalized(QPointF origin, QRectF visibleFrame, QSizeF panelSize)
{
    const PetPlacement fallback;
    return {normalizedAxis(origin.x(), visibleFrame.x(), visibleFrame.width(), panelSize.width(), fallback.x),
            normalizedAxis(origin.y(), visibleFrame.y(), visibleFrame.height(), panelSize.height(), fallback.y)};
}

PetPlacement PetPlacement::sanitized() const
{
    if (std::isfinite(x) && std::isfinite(y))
        return *this;
    return {};
}

QPointF PetPlacement::origin(QRectF visibleFrame, QSizeF panelSize) const
{
    const PetPlacement placement = sanitized();
    return {originAxis(placement.x, visibleFrame.x(), visibleFrame.width(), panelSize.width()),
            originAxis(placement.y, visibleFrame.y(), visibleFrame.height(), panelSize.height())};
}

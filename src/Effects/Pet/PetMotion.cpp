#include "Effects/Pet/PetMotion.h"

#include <QLineF>

#include <algorithm>

namespace PetMotion {

QPointF nextOrigin(QPointF origin, QPointF target, double deltaTime)
{
    const double distance = QLineF(origin, target).length();
    if (distance <= stopDistance)
        return origin;
    const double remaining = distance - stopDistance;
    const double step = deltaTime > longestTimeStep ? std::min(remaining, longestTimeStep * speed)
                                                    : std::min(std::max(deltaTime, 0.0) * speed, remaining);
    return origin + (target - origin) / distance * step;
}
}

#pragma once

#include <QPointF>

// One step of the pet's chase after the pointer.
namespace PetMotion {
inline constexpr double stopDistance = 18;
inline constexpr double speed = 240;
inline constexpr double longestTimeStep = 0.05;

// Moves towards the target at the chase speed, stopping short of it; after a stall (a time
// step longer than the longest) it moves one longest step's worth.
QPointF nextOrigin(QPointF origin, QPointF target, double deltaTime);
}

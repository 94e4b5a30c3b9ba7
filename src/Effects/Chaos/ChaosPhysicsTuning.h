#pragma once

// How the scene's numbers, stated in points, become the physics engine's units, and the
// factors tuned by eye so the modes feel as intended. Everything the scene feeds the
// engine passes through here.
namespace ChaosPhysicsTuning {
// Box2D works best with bodies of 0.1 to 10 metres; a 58-point item is 0.58 m.
inline constexpr double pointsPerMeter = 100.0;
inline constexpr double stepSeconds = 1.0 / 60.0;
inline constexpr int velocityIterations = 8;
inline constexpr int positionIterations = 3;
// Gravities and velocities are points per second (squared). An earthquake kick's impulse,
// divided by the item's mass, times this factor is the velocity change in points per
// second. At 4 the average kick about cancels what the weak gravity took since the last
// one, so the items jolt and hover where they are and only settle once the kicks end;
// stronger kicks pin them to the top edge.
inline constexpr double kickPointsPerSecond = 4.0;
// The vortex field pulls with strength / r^falloff metres per second squared at r metres;
// closer than this it stops growing, so an item crossing the centre is not flung away.
inline constexpr double fieldMinimumRadiusMeters = 0.25;
}

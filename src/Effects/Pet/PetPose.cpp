#include "Effects/Pet/PetPose.h"

#include <cmath>

namespace PetPose {
namespace {
struct PhysicsPose {
    double scaleX, scaleY, rotation, offsetX, offsetY;
};

PhysicsPose physicsPose(std::optional<ChaosMode> mode, bool beat)
{
    if (!mode)
        return {1, 1, 0, 0, 0};
    switch (*mode) {
    case ChaosMode::gravity:
        return beat ? PhysicsPose{1.09, 0.84, 3, 0, 7} : PhysicsPose{0.98, 1.03, -2, 0, 0};
    case ChaosMode::zeroGravity:
        return beat ? PhysicsPose{1, 1.04, 4, 0, -9} : PhysicsPose{1, 0.98, -4, 0, -2};
    case ChaosMode::vortex:
        return beat ? PhysicsPose{0.94, 1.04, 16, 6, -4} : PhysicsPose{1.04, 0.96, -16, -6, 4};
    case ChaosMode::earthquake:
        return beat ? PhysicsPose{1, 0.95, 5, 6, 2} : PhysicsPose{1, 1.03, -5, -6, -2};
    }
    return {1, 1, 0, 0, 0};
}

const QPointF centre(frameWidth / 2, frameHeight / 2);

QTransform aboutCentre(const QTransform &t)
{
    return QTransform::fromTranslate(-centre.x(), -centre.y()) * t * QTransform::fromTranslate(centre.x(), centre.y());
}

QTransform scale(double x, double y)
{
    return aboutCentre(QTransform::fromScale(x, y));
}

QTransform rotation(double degrees)
{
    // Qt's y grows downwards, so a positive angle already turns clockwise on screen.
    return aboutCentre(QTransform().rotate(degrees));
}
}

PetPoseValues targets(const PetPoseState &state)
{
    PetPoseValues values;
    const PhysicsPose physics = physicsPose(state.physicsMode, state.physicsBeat);
    values.physicsScaleX = physics.scaleX;
    values.physicsScaleY = physics.scaleY;
    values.physicsRotation = physics.rotation;
    values.physicsOffsetX = physics.offsetX;
    values.physicsOffsetY = physics.offsetY;
    if (state.mood == PetMood::stretching) {
        values.stretchScaleX = 0.92;
        values.stretchScaleY = 1.14;
        values.stretchOffsetY = -5;
    }
    values.lidProgress = state.lidProgress;
    values.hoverScale = state.hovering ? 1.08 : 1;
    const bool step = state.isWalking ? state.walkingStep : state.bobbing;
    if (state.isWalking) {
        values.walkScaleY = state.walkingStep ? 0.97 : 1.03;
        values.stepOffsetX = state.walkingStep ? 1.5 : -1.5;
        values.sway = state.walkingStep ? 3.5 : -3.5;
    } else if (state.mood == PetMood::celebrating) {
        values.sway = state.bobbing ? 4 : -4;
    }
    values.stepOffsetY = step ? -3 : 1;
    values.momentProgress = state.wearsMoment ? 1 : 0;
    values.cardProgress = state.menuOpen ? 1 : 0;
    return values;
}

QTransform transform(const PetPoseValues &v)
{
    return scale(v.physicsScaleX, v.physicsScaleY) * rotation(v.physicsRotation)
        * QTransform::fromTranslate(v.physicsOffsetX, v.physicsOffsetY) * scale(v.stretchScaleX, v.stretchScaleY)
        * QTransform::fromTranslate(0, v.stretchOffsetY) * scale(1, 1 - 0.13 * v.lidProgress)
        * rotation(8 * v.lidProgress) * QTransform::fromTranslate(0, 5 * v.lidProgress)
        * scale(v.hoverScale, v.hoverScale) * scale(1, v.walkScaleY)
        * QTransform::fromTranslate(v.stepOffsetX, v.stepOffsetY) * rotation(v.sway);
}

double drawnDistance(const PetPoseValues &a, const PetPoseValues &b)
{
    // Each term's own reach, added up: never less than the combined movement.
    double distance = 0;
    for (std::size_t i = 0; i < reach.size(); ++i)
        distance += std::abs(a.*PetPoseValues::members[i] - b.*PetPoseValues::members[i]) * reach[i];
    return distance;
}
}

#pragma once

#include "Effects/Chaos/ChaosMode.h"
#include "Effects/Pet/PetMood.h"

#include <QPointF>
#include <QTransform>

#include <array>
#include <optional>

// What the figure's pose depends on: the pet's published state and the view's own flags.
struct PetPoseState {
    PetMood mood = PetMood::idle;
    double lidProgress = 0;
    bool hovering = false;
    bool isWalking = false;
    bool walkingStep = false;
    bool bobbing = false;
    std::optional<ChaosMode> physicsMode;
    bool physicsBeat = false;
    bool wearsMoment = false;
    bool menuOpen = false;
};

// The terms of the pose chain, each of which may be animated on its own. Scales are factors,
// rotations degrees clockwise, offsets points with y growing downwards.
struct PetPoseValues {
    double physicsScaleX = 1, physicsScaleY = 1, physicsRotation = 0, physicsOffsetX = 0, physicsOffsetY = 0;
    double stretchScaleX = 1, stretchScaleY = 1, stretchOffsetY = 0;
    double lidProgress = 0;
    double hoverScale = 1;
    double walkScaleY = 1;
    double stepOffsetX = 0, stepOffsetY = 0;
    double sway = 0;
    // How far the moment badge has grown in; not part of the transform.
    double momentProgress = 0;
    // How far the menu card has grown in; not part of the transform.
    double cardProgress = 0;

    static constexpr std::array members{
        &PetPoseValues::physicsScaleX, &PetPoseValues::physicsScaleY, &PetPoseValues::physicsRotation,
        &PetPoseValues::physicsOffsetX, &PetPoseValues::physicsOffsetY, &PetPoseValues::stretchScaleX,
        &PetPoseValues::stretchScaleY,  &PetPoseValues::stretchOffsetY, &PetPoseValues::lidProgress,
        &PetPoseValues::hoverScale,     &PetPoseValues::walkScaleY,     &PetPoseValues::stepOffsetX,
        &PetPoseValues::stepOffsetY,    &PetPoseValues::sway,           &PetPoseValues::momentProgress,
        &PetPoseValues::cardProgress,
    };

    friend bool operator==(const PetPoseValues &, const PetPoseValues &) = default;
};

namespace PetPose {
inline constexpr double frameWidth = 82;
inline constexpr double frameHeight = 76;

// How far, in points, the farthest thing drawn moves for one unit of each term (the order of
// `PetPoseValues::members`): the figure reaches 85 pt sideways and 62 pt up from the frame's
// centre, a degree turns its far corner 1.83 pt, the badge travels 30 pt as it grows in and the
// card 60 pt.
inline constexpr std::array<double, PetPoseValues::members.size()> reach{
    85, 62, 1.83, 1, 1, 85, 62, 1, 28, 105, 62, 1, 1, 1.83, 30, 60,
};

// At most how far, in points, anything drawn with `b` lies from where it is drawn with `a`.
double drawnDistance(const PetPoseValues &a, const PetPoseValues &b);

// The resting value of every term for a state.
PetPoseValues targets(const PetPoseState &state);

// The figure's transform from its 82 x 76 frame (origin top-left) to the same frame: the twelve
// terms applied in order, scales and rotations about the frame's centre.
QTransform transform(const PetPoseValues &values);
}

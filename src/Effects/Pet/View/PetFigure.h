#pragma once

#include "Effects/Pet/PetMood.h"

#include <QPointF>

class QPainter;

// What the figure shows besides its pose.
struct PetFigureState {
    PetMood mood = PetMood::idle;
    double facingDirection = 1;
    bool blinking = false;
    QPointF gaze;
};

// Draws the dolphin into its 82 x 76 frame (origin top-left).
namespace PetFigure {
void paint(QPainter &painter, const PetFigureState &state);
}

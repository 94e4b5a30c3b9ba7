#pragma once

#include "Effects/Pet/PetMoment.h"
#include "Effects/Pet/PetMood.h"

#include <QColor>
#include <QPointF>
#include <QString>

#include <optional>

class QPainter;

// What the figure shows besides its pose.
struct PetFigureState {
    PetMood mood = PetMood::idle;
    QString colorID = QStringLiteral("cream");
    QString accessoryID = QStringLiteral("none");
    QString faceID = QStringLiteral("happy");
    double facingDirection = 1;
    bool isWalking = false;
    bool walkingStep = false;
    bool bobbing = false;
    bool blinking = false;
    QPointF gaze;
    // The badge worn or fading out, and how far it has grown in (0 gone, 1 full size).
    std::optional<PetMoment> moment;
    double momentProgress = 0;
    std::optional<QString> focusTimeLabel;
    bool focusIsPaused = false;
    // Which sides of the body have room on screen for the badge and the countdown: each goes
    // to the other side where its own has none.
    bool roomOnLeft = true;
    bool roomOnRight = true;

    friend bool operator==(const PetFigureState &, const PetFigureState &) = default;
};

// The dolphin: body image between two flippers, face, accessory, badge, sparkles and the focus
// countdown, drawn in figure coordinates (points, origin at the figure's centre, y downwards).
namespace PetFigure {
struct Angles {
    double backFlipper = 0;
    double frontFlipper = 0;
    double body = 0;
};
Angles angles(const PetFigureState &state);

// The tint of the body and flippers; white leaves them as drawn.
QColor petTint(const QString &colorID);
QColor shadowColor(PetMood mood);

void paint(QPainter &painter, const PetFigureState &state);
}

#pragma once

#include "Effects/Pet/PetMood.h"

#include <QPainterPath>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

// The pet's eyes and mouth, and what it wears, in figure coordinates: points, origin at the
// figure's centre, y downwards, angles clockwise.
namespace PetFace {
inline const QColor eyeColor = QColor::fromRgbF(0.27f, 0.12f, 0.25f);

// The face drawn: sleepy while the pet sleeps or stretches, else the chosen one.
QString effectiveFace(PetMood mood, const QString &faceID);

struct EyeShape {
    enum class Kind { circle, capsule, innocent };
    Kind kind = Kind::circle;
    QSizeF cell{6, 7};
    double diameter = 6;
    double rotation = 0;
};
EyeShape eye(const QString &effectiveFace, bool left, bool blinking);

struct MouthShape {
    enum class Kind { smile, circleOutline, capsule };
    Kind kind = Kind::smile;
    QSizeF cell;
    double rotation = 0;
};
MouthShape mouth(const QString &effectiveFace);

// The centres of the two eye cells and of the mouth's cell.
struct FaceLayout {
    QPointF leftEye, rightEye, mouth;
};
FaceLayout layout(const QString &effectiveFace, bool blinking);

void paintFace(QPainter &painter, PetMood mood, const QString &faceID, bool blinking);
void paintAccessory(QPainter &painter, const QString &accessoryID);

// The closed crown outline inside a rectangle; its two sides differ on purpose.
QPainterPath crownPath(const QRectF &rect);
// The headphones' band: the top of a circle of diameter 35, open at the bottom.
QPainterPath headphoneBand();
}

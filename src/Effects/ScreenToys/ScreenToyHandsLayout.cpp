#include "Effects/ScreenToys/ScreenToyHandsLayout.h"

#include <QPainterPathStroker>

#include <cmath>

namespace {
QPointF unit(QPointF v)
{
    const double length = std::hypot(v.x(), v.y());
    return length > 0 ? v / length : v;
}

QPainterPath capsule(QPointF from, QPointF to, double width)
{
    QPainterPath line;
    line.moveTo(from);
    line.lineTo(to);
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(line);
}

// A hand given in rifle coordinates, carried into the frame.
ScreenToyHandsLayout::Hand onRifle(QPointF centre, QPointF along, QPointF towardsWrist)
{
    const QTransform axis = ScreenToyHandsLayout::rifleAxis();
    const QPointF origin = axis.map(QPointF(0, 0));
    return {axis.map(centre), unit(axis.map(along) - origin), unit(axis.map(towardsWrist) - origin), 1.0};
}

// The pistol's and the water gun's grip runs down to the left and raked back; both hands
// close round it, the support hand a little lower.
std::vector<ScreenToyHandsLayout::Hand> onPistolGrip(QPointF centre)
{
    const QPointF along = unit(QPointF(-0.94, 0.34));
    const QPointF wrist = unit(QPointF(0.34, 0.94));
    const QPointF supportAlong = unit(QPointF(-0.9, 0.44));
    const QPointF supportWrist = unit(QPointF(0.44, 0.9));
    return {{centre, along, wrist, 1.0}, {centre + 0.05 * along + 0.025 * wrist, supportAlong, supportWrist, 0.97}};
}
}

namespace ScreenToyHandsLayout {
QTransform Hand::transform() const
{
    const QPointF x = along * size;
    const QPointF y = towardsWrist * size;
    return QTransform(x.x(), x.y(), y.x(), y.y(), centre.x(), centre.y());
}

QPainterPath handOutline()
{
    QPainterPath hand;
    hand.addRoundedRect(QRectF(-0.056, -0.042, 0.112, 0.092), 0.028, 0.028);
    // The curled fingers' middle joints, each a low bump along the grip's front.
    for (int i = 0; i < 4; ++i) {
        QPainterPath finger;
        finger.addEllipse(QPointF(-0.042 + 0.028 * i, -0.04), 0.0155, 0.014);
        hand = hand.united(finger);
    }
    hand = hand.united(capsule(QPointF(-0.045, 0.0), QPointF(-0.088, -0.028), 0.028));
    hand = hand.united(capsule(QPointF(0, 0.02), QPointF(0, wristReach), wristWidth));
    return hand.simplified();
}

std::vector<Hand> hands(ScreenToyKind kind)
{
    switch (kind) {
    case ScreenToyKind::blaster:
        return onPistolGrip(QPointF(0.37, 0.49));
    case ScreenToyKind::waterGun:
        return onPistolGrip(QPointF(0.38, 0.6));
    case ScreenToyKind::ak47:
        // The support hand under the handguard, then the firing hand on the pistol grip.
        return {onRifle(QPointF(-0.035, 0.30), QPointF(0.53, 0.85), QPointF(-0.85, 0.53)),
                onRifle(QPointF(-0.10, 0.63), QPointF(-0.92, 0.38), QPointF(0.38, 0.92))};
    case ScreenToyKind::whip:
    case ScreenToyKind::grenade:
        break;
    }
    return {};
}

std::vector<Wrist> wrists(ScreenToyKind kind)
{
    std::vector<Wrist> result;
    for (const Hand &hand : hands(kind)) {
        const QTransform t = hand.transform();
        const QPointF centre = t.map(QPointF(0, wristReach));
        result.push_back({centre, unit(t.map(QPointF(0, 1)) - t.map(QPointF(0, 0))), wristWidth * hand.size});
    }
    return result;
}

QPainterPath grenadeInHand()
{
    QPainterPath grenade;
    grenade.addEllipse(QRectF(270, 440, 260, 330));
    grenade.addRect(QRectF(350, 380, 110, 80));
    grenade.addRect(QRectF(440, 400, 60, 260));
    return QTransform::fromScale(1.0 / 1254, 1.0 / 1254).map(grenade);
}

std::vector<QRectF> grenadeKnuckles()
{
    std::vector<QRectF> knuckles;
    for (int i = 0; i < 4; ++i)
        knuckles.push_back(QRectF((505 - 10 * i) / 1254.0, (605 + 48 * i) / 1254.0, 40 / 1254.0, 30 / 1254.0));
    return knuckles;
}

QTransform rifleAxis()
{
    // From the muzzle (0.475, 0.02) towards the pivot (0.5, 0.72).
    const QPointF muzzle(0.475, 0.02);
    const QPointF back = unit(QPointF(0.5, 0.72) - muzzle);
    const QPointF top(back.y(), -back.x());
    return QTransform(top.x(), top.y(), back.x(), back.y(), muzzle.x(), muzzle.y());
}

QPainterPath rifleWood()
{
    QPainterPath wood;
    wood.addRoundedRect(QRectF(QPointF(-0.044, 0.22), QPointF(0.006, 0.40)), 0.012, 0.012);
    wood.addRoundedRect(QRectF(QPointF(0.012, 0.24), QPointF(0.042, 0.38)), 0.01, 0.01);
    wood.addPolygon(QPolygonF({QPointF(0.032, 0.70), QPointF(0.008, 0.955), QPointF(-0.10, 0.955),
                               QPointF(-0.062, 0.80), QPointF(-0.034, 0.70)}));
    wood.closeSubpath();
    QPainterPath inFrame = rifleAxis().map(wood);
    for (const Hand &hand : hands(ScreenToyKind::ak47))
        inFrame = inFrame.subtracted(hand.transform().map(handOutline()));
    return inFrame;
}
}

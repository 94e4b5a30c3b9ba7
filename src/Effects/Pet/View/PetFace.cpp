#include "Effects/Pet/View/PetFace.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace PetFace {
namespace {
// The platform's standard colours the accessories use.
const QColor yellow = QColor::fromRgbF(1.0f, 0.8f, 0.0f);
const QColor orange = QColor::fromRgbF(1.0f, 0.58f, 0.0f);
const QColor purple = QColor::fromRgbF(0.69f, 0.32f, 0.87f);
const QColor pink = QColor::fromRgbF(1.0f, 0.18f, 0.33f);
// The smile is drawn as a stroke rather than a glyph, so no font has to offer it.
const QSizeF smileCell(6, 11);

QPainterPath smilePath(const QRectF &cell)
{
    const double top = cell.center().y() - 1.5;
    QPainterPath path(QPointF(cell.left() + 1, top));
    path.cubicTo(QPointF(cell.left() + 1, top + 4), QPointF(cell.right() - 1, top + 4), QPointF(cell.right() - 1, top));
    return path;
}

QColor faded(QColor color, double alpha)
{
    color.setAlphaF(float(alpha));
    return color;
}

QRectF centred(QPointF centre, QSizeF size)
{
    return {centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(), size.height()};
}

void fillCapsule(QPainter &painter, const QRectF &rect, const QColor &color)
{
    const double radius = std::min(rect.width(), rect.height()) / 2;
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    painter.fillPath(path, color);
}

// Turns the painter by `degrees` about `centre`.
void turnAbout(QPainter &painter, QPointF centre, double degrees)
{
    painter.translate(centre);
    painter.rotate(degrees);
    painter.translate(-centre);
}

void paintEye(QPainter &painter, const EyeShape &shape, QPointF centre)
{
    painter.save();
    turnAbout(painter, centre, shape.rotation);
    switch (shape.kind) {
    case EyeShape::Kind::capsule:
        fillCapsule(painter, centred(centre, shape.cell), eyeColor);
        break;
    case EyeShape::Kind::innocent:
        painter.setPen(Qt::NoPen);
        painter.setBrush(eyeColor);
        painter.drawEllipse(centre, shape.diameter / 2, shape.diameter / 2);
        painter.setBrush(Qt::white);
        painter.drawEllipse(centre + QPointF(-1, -2), 1, 1);
        break;
    case EyeShape::Kind::circle:
        painter.setPen(Qt::NoPen);
        painter.setBrush(eyeColor);
        painter.drawEllipse(centre, shape.diameter / 2, shape.diameter / 2);
        break;
    }
    painter.restore();
}
}

QString effectiveFace(PetMood mood, const QString &faceID)
{
    if (mood == PetMood::sleeping || mood == PetMood::stretching)
        return QStringLiteral("sleepy");
    return faceID;
}

EyeShape eye(const QString &face, bool left, bool blinking)
{
    using Kind = EyeShape::Kind;
    if (face == QLatin1String("sleepy"))
        return {Kind::capsule, {7, 1.7}, 0, left ? 7.0 : -7.0};
    if (face == QLatin1String("cheeky") && left)
        return {Kind::capsule, {7, 1.7}, 0, -10};
    if (face == QLatin1String("grumpy"))
        return {Kind::capsule, {7, 2}, 0, left ? -18.0 : 18.0};
    if (face == QLatin1String("innocent"))
        return {Kind::innocent, {6, 7}, 6, 0};
    if (blinking)
        return {Kind::circle, {7, 1.5}, 1.5, 0};
    return {Kind::circle, {6, 7}, 6, 0};
}

MouthShape mouth(const QString &face)
{
    using Kind = MouthShape::Kind;
    if (face == QLatin1String("sleepy"))
        return {Kind::circleOutline, {4, 4}, 0};
    if (face == QLatin1String("cheeky"))
        return {Kind::smile, smileCell, -8};
    if (face == QLatin1String("grumpy"))
        return {Kind::capsule, {8, 1.7}, -7};
    if (face == QLatin1String("innocent"))
        return {Kind::circleOutline, {4, 5}, 0};
    return {Kind::smile, smileCell, 0};
}

FaceLayout layout(const QString &face, bool blinking)
{
    const QSizeF left = eye(face, true, blinking).cell;
    const QSizeF right = eye(face, false, blinking).cell;
    const QPointF faceOffset(-3, -7);
    const double rowWidth = left.width() + 8 + right.width();
    const double rowHeight = std::max(left.height(), right.height());
    const QSizeF mouthCell = mouth(face).cell;
    return {faceOffset + QPointF(-rowWidth / 2 + left.width() / 2, 0),
            faceOffset + QPointF(rowWidth / 2 - right.width() / 2, 0),
            faceOffset + QPointF(0, rowHeight / 2 - mouthCell.height() / 2 + 8)};
}

void paintFace(QPainter &painter, PetMood mood, const QString &faceID, bool blinking)
{
    const QString face = effectiveFace(mood, faceID);
    const FaceLayout places = layout(face, blinking);
    paintEye(painter, eye(face, true, blinking), places.leftEye);
    paintEye(painter, eye(face, false, blinking), places.rightEye);

    const MouthShape shape = mouth(face);
    painter.save();
    turnAbout(painter, places.mouth, shape.rotation);
    const QRectF cell = centred(places.mouth, shape.cell);
    switch (shape.kind) {
    case MouthShape::Kind::smile:
        painter.setPen(QPen(eyeColor, 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(smilePath(cell));
        break;
    case MouthShape::Kind::circleOutline:
        painter.setPen(QPen(eyeColor, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(places.mouth, 2, 2);
        break;
    case MouthShape::Kind::capsule:
        fillCapsule(painter, cell, eyeColor);
        break;
    }
    painter.restore();
}

QPainterPath crownPath(const QRectF &r)
{
    const double x0 = r.x(), y0 = r.y(), w = r.width(), h = r.height();
    QPainterPath path;
    path.moveTo(x0, y0 + h);
    path.lineTo(x0 + 0.08 * w, y0 + 0.28 * h);
    path.lineTo(x0 + 0.34 * w, y0 + 0.57 * h);
    path.lineTo(x0 + 0.5 * w, y0);
    path.lineTo(x0 + 0.68 * w, y0 + 0.57 * h);
    path.lineTo(x0 + w - 0.06 * w, y0 + 0.25 * h);
    path.lineTo(x0 + w, y0 + h);
    path.closeSubpath();
    return path;
}

QPainterPath headphoneBand()
{
    // Kept from 0.52 to 0.98 of the circle measured clockwise from its rightmost point; Qt
    // measures angles anticlockwise, hence the signs.
    const QRectF circle(-17.5, -17.5, 35, 35);
    const double start = 0.52 * 360, end = 0.98 * 360;
    QPainterPath band;
    band.arcMoveTo(circle, -start);
    band.arcTo(circle, -start, -(end - start));
    return band;
}

void paintAccessory(QPainter &painter, const QString &accessoryID)
{
    painter.save();
    if (accessoryID == QLatin1String("crown")) {
        painter.rotate(5);
        painter.translate(1, -31);
        const QRectF cell(-11.5, -7, 23, 14);
        QLinearGradient gold(cell.topLeft(), cell.bottomLeft());
        gold.setColorAt(0, yellow);
        gold.setColorAt(1, orange);
        painter.setPen(QPen(faded(Qt::white, 0.7), 1));
        painter.setBrush(gold);
        painter.drawPath(crownPath(cell));
    } else if (accessoryID == QLatin1String("glasses")) {
        painter.translate(-3, -7);
        painter.setPen(QPen(faded(Qt::black, 0.78), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(-6, 0), 4.5, 4.5);
        painter.drawEllipse(QPointF(6, 0), 4.5, 4.5);
        fillCapsule(painter, QRectF(-2.5, -1, 5, 2), faded(Qt::black, 0.78));
    } else if (accessoryID == QLatin1String("headphones")) {
        painter.translate(-2, -6);
        painter.setPen(QPen(purple, 3, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(headphoneBand());
        fillCapsule(painter, centred({-16.5, 3}, {5, 13}), purple);
        fillCapsule(painter, centred({16.5, 3}, {5, 13}), purple);
    } else if (accessoryID == QLatin1String("bow")) {
        painter.rotate(10);
        painter.translate(6, -25);
        painter.setPen(Qt::NoPen);
        painter.setBrush(pink);
        for (const auto &[x, angle] : {std::pair{-5.0, 28.0}, std::pair{5.0, -28.0}}) {
            painter.save();
            turnAbout(painter, {x, 0}, angle);
            painter.drawRoundedRect(centred({x, 0}, {9, 7}), 4, 4);
            painter.restore();
        }
        painter.drawEllipse(QPointF(0, 0), 2.5, 2.5);
    }
    painter.restore();
}
}

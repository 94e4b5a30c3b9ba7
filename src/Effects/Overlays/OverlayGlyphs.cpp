#include "Effects/Overlays/OverlayGlyphs.h"

#include "Foundation/Appearance.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

QPen linePen(const QColor &color, double width)
{
    QPen pen(color, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void drawBolt(QPainter &p, const QRectF &r, const QColor &color)
{
    QPainterPath bolt;
    bolt.moveTo(r.left() + r.width() * 0.58, r.top());
    bolt.lineTo(r.left() + r.width() * 0.18, r.top() + r.height() * 0.56);
    bolt.lineTo(r.left() + r.width() * 0.47, r.top() + r.height() * 0.56);
    bolt.lineTo(r.left() + r.width() * 0.38, r.bottom());
    bolt.lineTo(r.left() + r.width() * 0.82, r.top() + r.height() * 0.40);
    bolt.lineTo(r.left() + r.width() * 0.53, r.top() + r.height() * 0.40);
    bolt.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(bolt);
}

void drawBattery(QPainter &p, const QRectF &r, const QColor &color, double level)
{
    const double w = r.width();
    const QRectF body(r.left() + w * 0.04, r.center().y() - w * 0.24, w * 0.82, w * 0.48);
    p.setPen(linePen(color, w * 0.07));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body, w * 0.1, w * 0.1);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRoundedRect(QRectF(body.right() + w * 0.03, r.center().y() - w * 0.09, w * 0.08, w * 0.18), w * 0.03,
                      w * 0.03);
    const QRectF inner = body.adjusted(w * 0.09, w * 0.09, -w * 0.09, -w * 0.09);
    p.drawRoundedRect(QRectF(inner.left(), inner.top(), inner.width() * std::clamp(level, 0.08, 1.0), inner.height()),
                      w * 0.04, w * 0.04);
}

void drawPlug(QPainter &p, const QRectF &r, const QColor &color)
{
    const double w = r.width();
    p.setPen(linePen(color, w * 0.08));
    p.setBrush(Qt::NoBrush);
    const double cx = r.center().x();
    p.drawLine(QPointF(cx - w * 0.14, r.top() + w * 0.1), QPointF(cx - w * 0.14, r.top() + w * 0.3));
    p.drawLine(QPointF(cx + w * 0.14, r.top() + w * 0.1), QPointF(cx + w * 0.14, r.top() + w * 0.3));
    QPainterPath head;
    head.moveTo(cx - w * 0.28, r.top() + w * 0.3);
    head.lineTo(cx + w * 0.28, r.top() + w * 0.3);
    head.lineTo(cx + w * 0.28, r.top() + w * 0.46);
    head.quadTo(cx + w * 0.28, r.top() + w * 0.66, cx, r.top() + w * 0.66);
    head.quadTo(cx - w * 0.28, r.top() + w * 0.66, cx - w * 0.28, r.top() + w * 0.46);
    head.closeSubpath();
    p.drawPath(head);
    p.drawLine(QPointF(cx, r.top() + w * 0.66), QPointF(cx, r.bottom() - w * 0.06));
}

void drawMoon(QPainter &p, const QRectF &r, const QColor &color)
{
    const double w = r.width();
    QPainterPath disc;
    disc.addEllipse(r.adjusted(w * 0.12, w * 0.12, -w * 0.12, -w * 0.12));
    QPainterPath bite;
    bite.addEllipse(r.adjusted(w * 0.34, w * 0.0, w * 0.1, -w * 0.26));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(disc.subtracted(bite));
}

void drawSun(QPainter &p, const QRectF &r, const QColor &color)
{
    const double w = r.width();
    const QPointF c = r.center();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(c, w * 0.2, w * 0.2);
    p.setPen(linePen(color, w * 0.07));
    for (int i = 0; i < 8; ++i) {
        const double a = i * std::numbers::pi / 4;
        p.drawLine(QPointF(c.x() + std::cos(a) * w * 0.32, c.y() + std::sin(a) * w * 0.32),
                   QPointF(c.x() + std::cos(a) * w * 0.44, c.y() + std::sin(a) * w * 0.44));
    }
}

void drawBox(QPainter &p, const QRectF &r, const QColor &color, double weight)
{
    const double w = r.width();
    const double cx = r.center().x();
    QPainterPath box;
    const QPointF top(cx, r.top() + w * 0.1);
    const QPointF left(r.left() + w * 0.1, r.top() + w * 0.3);
    const QPointF right(r.right() - w * 0.1, r.top() + w * 0.3);
    const QPointF mid(cx, r.top() + w * 0.5);
    box.moveTo(top);
    box.lineTo(right);
    box.lineTo(right.x(), r.top() + w * 0.72);
    box.lineTo(cx, r.bottom() - w * 0.06);
    box.lineTo(left.x(), r.top() + w * 0.72);
    box.lineTo(left);
    box.closeSubpath();
    p.setPen(linePen(color, w * 0.065));
    p.setBrush(Qt::NoBrush);
    p.drawPath(box);
    p.drawLine(left, mid);
    p.drawLine(mid, right);
    p.drawLine(mid, QPointF(cx, r.bottom() - w * 0.06));
    // One to three dots on the front face tell the weight.
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const int dots = std::clamp(int(std::lround(weight)), 1, 3);
    for (int i = 0; i < dots; ++i)
        p.drawEllipse(QPointF(left.x() + w * (0.1 + 0.1 * i), r.top() + w * (0.5 + 0.05 * i)), w * 0.035, w * 0.035);
}

void drawDrive(QPainter &p, const QRectF &r, const QColor &color)
{
    const double w = r.width();
    const QRectF body(r.left() + w * 0.08, r.top() + w * 0.3, w * 0.84, w * 0.4);
    p.setPen(linePen(color, w * 0.07));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body, w * 0.1, w * 0.1);
    p.drawLine(QPointF(body.left() + w * 0.14, body.center().y()), QPointF(body.left() + w * 0.42, body.center().y()));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QPointF(body.right() - w * 0.16, body.center().y()), w * 0.05, w * 0.05);
}

void drawDisplay(QPainter &p, const QRectF &r, const QColor &color)
{
    const double w = r.width();
    const QRectF screen(r.left() + w * 0.06, r.top() + w * 0.14, w * 0.88, w * 0.54);
    p.setPen(linePen(color, w * 0.07));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(screen, w * 0.06, w * 0.06);
    p.drawLine(QPointF(r.center().x(), screen.bottom()), QPointF(r.center().x(), r.top() + w * 0.82));
    p.drawLine(QPointF(r.center().x() - w * 0.2, r.top() + w * 0.84), QPointF(r.center().x() + w * 0.2, r.top() + w * 0.84));
}

} // namespace

void OverlayGlyphs::draw(QPainter &painter, Glyph glyph, const QRectF &square, const QColor &color, double level)
{
    painter.save();
    switch (glyph) {
    case Glyph::bolt:
        drawBolt(painter, square, color);
        break;
    case Glyph::battery:
        drawBattery(painter, square, color, level);
        break;
    case Glyph::plug:
        drawPlug(painter, square, color);
        break;
    case Glyph::moon:
        drawMoon(painter, square, color);
        break;
    case Glyph::sun:
        drawSun(painter, square, color);
        break;
    case Glyph::box:
        drawBox(painter, square, color, level);
        break;
    case Glyph::drive:
        drawDrive(painter, square, color);
        break;
    case Glyph::display:
        drawDisplay(painter, square, color);
        break;
    }
    painter.restore();
}

QColor OverlayGlyphs::withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(std::clamp(alpha, 0.0, 1.0)));
    return color;
}

void OverlayGlyphs::drawCard(QPainter &painter, const QRectF &card, double opacity)
{
    painter.save();
    painter.setOpacity(painter.opacity() * opacity);
    painter.setPen(Qt::NoPen);
    // A soft shadow under the card.
    for (int i = 3; i >= 1; --i) {
        painter.setBrush(QColor(0, 0, 0, 18));
        painter.drawRoundedRect(card.adjusted(-i * 1.5, -i * 0.5, i * 1.5, i * 2.5), 20 + i, 20 + i);
    }
    QLinearGradient fill(card.topLeft(), card.bottomLeft());
    fill.setColorAt(0, Appearance::color(ColorRole::controlBackground, 0.93));
    fill.setColorAt(1, Appearance::color(ColorRole::windowBackground, 0.93));
    painter.setBrush(fill);
    painter.setPen(QPen(Appearance::color(ColorRole::separator), 1));
    painter.drawRoundedRect(card, 20, 20);
    painter.restore();
}

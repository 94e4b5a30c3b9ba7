#include "Effects/Pet/View/PetGlyph.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace {
// Every symbol is drawn on a 24 x 24 grid and scaled into its square.
constexpr double grid = 24;

QPainterPath star(QPointF centre, double outer, double inner, int points)
{
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / points;
        const double radius = i % 2 ? inner : outer;
        const QPointF p = centre + QPointF(std::cos(angle) * radius, std::sin(angle) * radius);
        i ? path.lineTo(p) : path.moveTo(p);
    }
    path.closeSubpath();
    return path;
}

QPainterPath heart(QRectF r)
{
    QPainterPath path;
    const double w = r.width(), h = r.height(), x = r.x(), y = r.y();
    path.moveTo(x + w / 2, y + h);
    path.cubicTo(x - w * 0.1, y + h * 0.55, x + w * 0.05, y - h * 0.1, x + w / 2, y + h * 0.22);
    path.cubicTo(x + w * 0.95, y - h * 0.1, x + w * 1.1, y + h * 0.55, x + w / 2, y + h);
    return path;
}

QPainterPath bolt()
{
    QPainterPath path;
    path.moveTo(14, 1.5);
    path.lineTo(4.5, 13.5);
    path.lineTo(11, 13.5);
    path.lineTo(9.5, 22.5);
    path.lineTo(19.5, 9.5);
    path.lineTo(13, 9.5);
    path.closeSubpath();
    return path;
}

void cameraBody(QPainter &p, bool filled)
{
    QPainterPath body;
    body.addRoundedRect(QRectF(2, 7, 20, 14), 3, 3);
    body.addRect(QRectF(8, 4, 8, 4));
    body.setFillRule(Qt::WindingFill);
    QPainterPath lens;
    lens.addEllipse(QPointF(12, 14), 4, 4);
    if (filled) {
        p.fillPath(body.simplified().subtracted(lens), p.pen().color());
        return;
    }
    p.drawPath(body.simplified());
    p.drawPath(lens);
}

void circled(QPainter &p, bool filled)
{
    if (filled)
        p.setBrush(p.pen().color());
    p.drawEllipse(QPointF(12, 12), 10, 10);
    p.setBrush(Qt::NoBrush);
}

void drawGlyph(QPainter &p, PetGlyph glyph, const QColor &color)
{
    const QPen line(color, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(line);
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case PetGlyph::cameraFill:
        cameraBody(p, true);
        break;
    case PetGlyph::camera:
        cameraBody(p, false);
        break;
    case PetGlyph::shippingboxFill: {
        QPainterPath box;
        box.moveTo(12, 2);
        box.lineTo(22, 6.5);
        box.lineTo(22, 17.5);
        box.lineTo(12, 22);
        box.lineTo(2, 17.5);
        box.lineTo(2, 6.5);
        box.closeSubpath();
        p.fillPath(box, color);
        p.setPen(QPen(QColor(255, 255, 255, 110), 1.2));
        p.drawPolyline(QPolygonF({QPointF(2, 6.5), QPointF(12, 11), QPointF(22, 6.5)}));
        p.drawLine(QPointF(12, 11), QPointF(12, 22));
        p.drawLine(QPointF(7, 4.3), QPointF(17, 8.8));
        break;
    }
    case PetGlyph::boltFill:
        p.fillPath(bolt(), color);
        break;
    case PetGlyph::bolt:
        p.drawPath(bolt());
        break;
    case PetGlyph::sparkles:
        p.fillPath(star({10, 13}, 9, 2.4, 4), color);
        p.fillPath(star({19, 5}, 4.5, 1.3, 4), color);
        p.fillPath(star({19.5, 19.5}, 3.5, 1, 4), color);
        break;
    case PetGlyph::starFill:
        p.fillPath(star({12, 12.8}, 11, 4.6, 5), color);
        break;
    case PetGlyph::pauseFill:
        p.fillRect(QRectF(5, 3, 5, 18), color);
        p.fillRect(QRectF(14, 3, 5, 18), color);
        break;
    case PetGlyph::timer:
        p.drawEllipse(QPointF(12, 13.5), 8.5, 8.5);
        p.drawLine(QPointF(12, 13.5), QPointF(15.5, 9.5));
        p.drawLine(QPointF(9, 2), QPointF(15, 2));
        break;
    case PetGlyph::waveform: {
        const double heights[] = {4, 10, 16, 8, 13, 5};
        for (int i = 0; i < 6; ++i)
            p.drawLine(QPointF(3 + i * 3.6, 12 - heights[i] / 2), QPointF(3 + i * 3.6, 12 + heights[i] / 2));
        break;
    }
    case PetGlyph::heartFill:
        p.fillPath(heart(QRectF(2, 3.5, 20, 17.5)), color);
        break;
    case PetGlyph::brainHeadProfile: {
        QPainterPath head;
        head.moveTo(8, 22);
        head.lineTo(8, 17);
        head.cubicTo(3, 14, 3, 4, 12, 2.5);
        head.cubicTo(19, 1.5, 22, 7, 20, 11);
        head.lineTo(21.5, 14);
        head.lineTo(19, 14.5);
        head.lineTo(18.5, 18);
        head.lineTo(15, 18);
        head.lineTo(15, 22);
        p.drawPath(head);
        p.drawArc(QRectF(8.5, 6, 7, 6), 0, 180 * 16);
        break;
    }
    case PetGlyph::cupAndSaucer:
        p.drawRoundedRect(QRectF(4, 6, 12, 10), 2, 2);
        p.drawArc(QRectF(13, 7.5, 6, 6), -90 * 16, 180 * 16);
        p.drawLine(QPointF(2, 20), QPointF(20, 20));
        break;
    case PetGlyph::stopCircle:
        circled(p, false);
        p.fillRect(QRectF(8, 8, 8, 8), color);
        break;
    case PetGlyph::checklist:
        for (int i = 0; i < 3; ++i) {
            const double y = 5 + i * 7;
            p.drawPolyline(QPolygonF({QPointF(2, y), QPointF(4, y + 2), QPointF(7.5, y - 2)}));
            p.drawLine(QPointF(11, y), QPointF(22, y));
        }
        break;
    case PetGlyph::keyboard:
        p.drawRoundedRect(QRectF(1.5, 5, 21, 14), 2.5, 2.5);
        for (int row = 0; row < 2; ++row) {
            for (int key = 0; key < 5; ++key)
                p.drawPoint(QPointF(5 + key * 3.5, 9 + row * 3.5));
        }
        p.drawLine(QPointF(8, 15.5), QPointF(16, 15.5));
        break;
    case PetGlyph::handTap: {
        QPainterPath hand;
        hand.moveTo(9, 22);
        hand.lineTo(5, 15);
        hand.lineTo(7, 14);
        hand.lineTo(9.5, 16);
        hand.lineTo(9.5, 6);
        hand.cubicTo(9.5, 4.5, 12.5, 4.5, 12.5, 6);
        hand.lineTo(12.5, 11);
        hand.lineTo(19, 12.5);
        hand.cubicTo(20.5, 13, 20.5, 14, 20, 16);
        hand.lineTo(18, 22);
        p.drawPath(hand);
        p.drawArc(QRectF(6.5, 1, 9, 9), 20 * 16, 140 * 16);
        break;
    }
    case PetGlyph::playCircle: {
        circled(p, false);
        QPainterPath play;
        play.moveTo(10, 7.5);
        play.lineTo(16.5, 12);
        play.lineTo(10, 16.5);
        play.closeSubpath();
        p.fillPath(play, color);
        break;
    }
    case PetGlyph::sliderHorizontal3:
        for (int i = 0; i < 3; ++i) {
            const double y = 5 + i * 7;
            const double knob = i == 1 ? 15 : (i == 0 ? 8 : 11);
            p.drawLine(QPointF(2, y), QPointF(22, y));
            p.setBrush(color);
            p.drawEllipse(QPointF(knob, y), 2.2, 2.2);
            p.setBrush(Qt::NoBrush);
        }
        break;
    case PetGlyph::arrowDownToLine:
        p.drawLine(QPointF(12, 2), QPointF(12, 16));
        p.drawPolyline(QPolygonF({QPointF(6, 10.5), QPointF(12, 16.5), QPointF(18, 10.5)}));
        p.drawLine(QPointF(4, 21), QPointF(20, 21));
        break;
    case PetGlyph::heartTextSquare:
        p.drawRoundedRect(QRectF(2, 2, 20, 20), 5, 5);
        p.fillPath(heart(QRectF(8, 5.5, 8, 7)), color);
        p.drawLine(QPointF(7, 15.5), QPointF(17, 15.5));
        p.drawLine(QPointF(8.5, 18.5), QPointF(15.5, 18.5));
        break;
    case PetGlyph::mappin:
        p.setBrush(color);
        p.drawEllipse(QPointF(12, 7), 4.5, 4.5);
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(12, 11.5), QPointF(12, 22));
        break;
    case PetGlyph::figureWalk:
        p.setBrush(color);
        p.drawEllipse(QPointF(13, 3.5), 2.2, 2.2);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(7, 12), QPointF(10, 8.5), QPointF(14, 8.5), QPointF(17, 12.5)}));
        p.drawLine(QPointF(12.5, 8.5), QPointF(11, 15));
        p.drawPolyline(QPolygonF({QPointF(7, 22), QPointF(11, 15), QPointF(14, 18), QPointF(15.5, 22)}));
        break;
    case PetGlyph::paintpalette: {
        QPainterPath palette;
        palette.moveTo(12, 2);
        palette.cubicTo(19, 2, 22.5, 7, 22, 12);
        palette.cubicTo(21.5, 15, 17, 14, 16, 16.5);
        palette.cubicTo(15, 19, 18, 22, 12, 22);
        palette.cubicTo(5, 22, 2, 17, 2, 12);
        palette.cubicTo(2, 6, 6, 2, 12, 2);
        p.drawPath(palette);
        p.setBrush(color);
        for (const QPointF dot : {QPointF(7, 10), QPointF(11, 6.5), QPointF(16, 7.5), QPointF(7.5, 15.5)})
            p.drawEllipse(dot, 1.6, 1.6);
        p.setBrush(Qt::NoBrush);
        break;
    }
    case PetGlyph::gearshape: {
        QPainterPath gear = star({12, 12}, 10.5, 8, 8);
        QPainterPath hole;
        hole.addEllipse(QPointF(12, 12), 3.5, 3.5);
        p.drawPath(gear);
        p.drawPath(hole);
        break;
    }
    case PetGlyph::eyeSlash: {
        QPainterPath eye;
        eye.moveTo(2, 12);
        eye.quadTo(12, 2, 22, 12);
        eye.quadTo(12, 22, 2, 12);
        p.drawPath(eye);
        p.drawEllipse(QPointF(12, 12), 3, 3);
        p.drawLine(QPointF(4, 3), QPointF(20, 21));
        break;
    }
    case PetGlyph::pauseCircle:
        circled(p, false);
        p.drawLine(QPointF(9.5, 8), QPointF(9.5, 16));
        p.drawLine(QPointF(14.5, 8), QPointF(14.5, 16));
        break;
    case PetGlyph::chevronLeftCircleFill:
        circled(p, true);
        p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(13.5, 7), QPointF(8.5, 12), QPointF(13.5, 17)}));
        break;
    case PetGlyph::xmarkCircleFill:
        circled(p, true);
        p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8.5, 8.5), QPointF(15.5, 15.5));
        p.drawLine(QPointF(15.5, 8.5), QPointF(8.5, 15.5));
        break;
    }
}
}

namespace PetGlyphs {
void draw(QPainter &painter, PetGlyph glyph, const QRectF &square, const QColor &color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(square.width(), square.height());
    painter.translate(square.center() - QPointF(side / 2, side / 2));
    painter.scale(side / grid, side / grid);
    drawGlyph(painter, glyph, color);
    painter.restore();
}
}

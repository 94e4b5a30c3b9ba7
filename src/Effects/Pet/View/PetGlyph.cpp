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

void shippingBoxFill(QPainter &p, const QColor &color)
{
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
}

void sparkles(QPainter &p, const QColor &color)
{
    p.fillPath(star({10, 13}, 9, 2.4, 4), color);
    p.fillPath(star({19, 5}, 4.5, 1.3, 4), color);
    p.fillPath(star({19.5, 19.5}, 3.5, 1, 4), color);
}

void pauseFill(QPainter &p, const QColor &color)
{
    p.fillRect(QRectF(5, 3, 5, 18), color);
    p.fillRect(QRectF(14, 3, 5, 18), color);
}

void timer(QPainter &p)
{
    p.drawEllipse(QPointF(12, 13.5), 8.5, 8.5);
    p.drawLine(QPointF(12, 13.5), QPointF(15.5, 9.5));
    p.drawLine(QPointF(9, 2), QPointF(15, 2));
}

void waveform(QPainter &p)
{
    const double heights[] = {4, 10, 16, 8, 13, 5};
    for (int i = 0; i < 6; ++i)
        p.drawLine(QPointF(3 + i * 3.6, 12 - heights[i] / 2), QPointF(3 + i * 3.6, 12 + heights[i] / 2));
}

void brainHeadProfile(QPainter &p)
{
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
}

void cupAndSaucer(QPainter &p)
{
    p.drawRoundedRect(QRectF(4, 6, 12, 10), 2, 2);
    p.drawArc(QRectF(13, 7.5, 6, 6), -90 * 16, 180 * 16);
    p.drawLine(QPointF(2, 20), QPointF(20, 20));
}

void stopCircle(QPainter &p, const QColor &color)
{
    circled(p, false);
    p.fillRect(QRectF(8, 8, 8, 8), color);
}

void checklist(QPainter &p)
{
    for (int i = 0; i < 3; ++i) {
        const double y = 5 + i * 7;
        p.drawPolyline(QPolygonF({QPointF(2, y), QPointF(4, y + 2), QPointF(7.5, y - 2)}));
        p.drawLine(QPointF(11, y), QPointF(22, y));
    }
}

void keyboard(QPainter &p)
{
    p.drawRoundedRect(QRectF(1.5, 5, 21, 14), 2.5, 2.5);
    for (int row = 0; row < 2; ++row) {
        for (int key = 0; key < 5; ++key)
            p.drawPoint(QPointF(5 + key * 3.5, 9 + row * 3.5));
    }
    p.drawLine(QPointF(8, 15.5), QPointF(16, 15.5));
}

void handTap(QPainter &p)
{
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
}

void playCircle(QPainter &p, const QColor &color)
{
    circled(p, false);
    QPainterPath play;
    play.moveTo(10, 7.5);
    play.lineTo(16.5, 12);
    play.lineTo(10, 16.5);
    play.closeSubpath();
    p.fillPath(play, color);
}

void sliderHorizontal3(QPainter &p, const QColor &color)
{
    for (int i = 0; i < 3; ++i) {
        const double y = 5 + i * 7;
        const double knob = i == 1 ? 15 : (i == 0 ? 8 : 11);
        p.drawLine(QPointF(2, y), QPointF(22, y));
        p.setBrush(color);
        p.drawEllipse(QPointF(knob, y), 2.2, 2.2);
        p.setBrush(Qt::NoBrush);
    }
}

void arrowDownToLine(QPainter &p)
{
    p.drawLine(QPointF(12, 2), QPointF(12, 16));
    p.drawPolyline(QPolygonF({QPointF(6, 10.5), QPointF(12, 16.5), QPointF(18, 10.5)}));
    p.drawLine(QPointF(4, 21), QPointF(20, 21));
}

void heartTextSquare(QPainter &p, const QColor &color)
{
    p.drawRoundedRect(QRectF(2, 2, 20, 20), 5, 5);
    p.fillPath(heart(QRectF(8, 5.5, 8, 7)), color);
    p.drawLine(QPointF(7, 15.5), QPointF(17, 15.5));
    p.drawLine(QPointF(8.5, 18.5), QPointF(15.5, 18.5));
}

void mappin(QPainter &p, const QColor &color)
{
    p.setBrush(color);
    p.drawEllipse(QPointF(12, 7), 4.5, 4.5);
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(12, 11.5), QPointF(12, 22));
}

void figureWalk(QPainter &p, const QColor &color)
{
    p.setBrush(color);
    p.drawEllipse(QPointF(13, 3.5), 2.2, 2.2);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(7, 12), QPointF(10, 8.5), QPointF(14, 8.5), QPointF(17, 12.5)}));
    p.drawLine(QPointF(12.5, 8.5), QPointF(11, 15));
    p.drawPolyline(QPolygonF({QPointF(7, 22), QPointF(11, 15), QPointF(14, 18), QPointF(15.5, 22)}));
}

void paintpalette(QPainter &p, const QColor &color)
{
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
}

void gearshape(QPainter &p)
{
    QPainterPath gear = star({12, 12}, 10.5, 8, 8);
    QPainterPath hole;
    hole.addEllipse(QPointF(12, 12), 3.5, 3.5);
    p.drawPath(gear);
    p.drawPath(hole);
}

void eyeSlash(QPainter &p)
{
    QPainterPath eye;
    eye.moveTo(2, 12);
    eye.quadTo(12, 2, 22, 12);
    eye.quadTo(12, 22, 2, 12);
    p.drawPath(eye);
    p.drawEllipse(QPointF(12, 12), 3, 3);
    p.drawLine(QPointF(4, 3), QPointF(20, 21));
}

void pauseCircle(QPainter &p)
{
    circled(p, false);
    p.drawLine(QPointF(9.5, 8), QPointF(9.5, 16));
    p.drawLine(QPointF(14.5, 8), QPointF(14.5, 16));
}

void chevronLeftCircleFill(QPainter &p)
{
    circled(p, true);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(13.5, 7), QPointF(8.5, 12), QPointF(13.5, 17)}));
}

void xmarkCircleFill(QPainter &p)
{
    circled(p, true);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8.5, 8.5), QPointF(15.5, 15.5));
    p.drawLine(QPointF(15.5, 8.5), QPointF(8.5, 15.5));
}

void drawGlyph(QPainter &p, PetGlyph glyph, const QColor &color)
{
    const QPen line(color, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(line);
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case PetGlyph::cameraFill: return cameraBody(p, true);
    case PetGlyph::camera: return cameraBody(p, false);
    case PetGlyph::shippingboxFill: return shippingBoxFill(p, color);
    case PetGlyph::boltFill: return p.fillPath(bolt(), color);
    case PetGlyph::bolt: return p.drawPath(bolt());
    case PetGlyph::sparkles: return sparkles(p, color);
    case PetGlyph::starFill: return p.fillPath(star({12, 12.8}, 11, 4.6, 5), color);
    case PetGlyph::pauseFill: return pauseFill(p, color);
    case PetGlyph::timer: return timer(p);
    case PetGlyph::waveform: return waveform(p);
    case PetGlyph::heartFill: return p.fillPath(heart(QRectF(2, 3.5, 20, 17.5)), color);
    case PetGlyph::brainHeadProfile: return brainHeadProfile(p);
    case PetGlyph::cupAndSaucer: return cupAndSaucer(p);
    case PetGlyph::stopCircle: return stopCircle(p, color);
    case PetGlyph::checklist: return checklist(p);
    case PetGlyph::keyboard: return keyboard(p);
    case PetGlyph::handTap: return handTap(p);
    case PetGlyph::playCircle: return playCircle(p, color);
    case PetGlyph::sliderHorizontal3: return sliderHorizontal3(p, color);
    case PetGlyph::arrowDownToLine: return arrowDownToLine(p);
    case PetGlyph::heartTextSquare: return heartTextSquare(p, color);
    case PetGlyph::mappin: return mappin(p, color);
    case PetGlyph::figureWalk: return figureWalk(p, color);
    case PetGlyph::paintpalette: return paintpalette(p, color);
    case PetGlyph::gearshape: return gearshape(p);
    case PetGlyph::eyeSlash: return eyeSlash(p);
    case PetGlyph::pauseCircle: return pauseCircle(p);
    case PetGlyph::chevronLeftCircleFill: return chevronLeftCircleFill(p);
    case PetGlyph::xmarkCircleFill: return xmarkCircleFill(p);
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

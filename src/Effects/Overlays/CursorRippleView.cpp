#include "Effects/Overlays/CursorRippleView.h"

#include "Effects/Overlays/OverlayGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using OverlayGlyphs::withAlpha;

constexpr double pi = std::numbers::pi;

double easeOut(double t)
{
    return 1 - std::pow(1 - t, 3);
}

void drawBubbles(QPainter &p, QPointF c, double t)
{
    const double travel = easeOut(t);
    const double fade = std::pow(1 - t, 1.4);
    p.setPen(QPen(withAlpha(QColor(70, 150, 240), 0.45 * fade), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 6 + 30 * travel, 6 + 30 * travel);
    for (int i = 0; i < 7; ++i) {
        const double angle = i * 2 * pi / 7 + 0.35 * std::sin(i * 1.7);
        const double distance = (16 + 5 * (i % 3)) * travel + 4;
        // Bubbles drift a little upwards as they spread.
        const QPointF at(c.x() + std::cos(angle) * distance, c.y() + std::sin(angle) * distance - 8 * travel);
        const double radius = 3 + (3.5 + (i % 3)) * travel;
        QRadialGradient shine(at - QPointF(radius * 0.35, radius * 0.35), radius * 1.3);
        shine.setColorAt(0, withAlpha(Qt::white, 0.9 * fade));
        shine.setColorAt(0.35, withAlpha(QColor(190, 225, 255), 0.3 * fade));
        shine.setColorAt(1, withAlpha(QColor(120, 185, 255), 0.12 * fade));
        p.setBrush(shine);
        // A deeper rim keeps the bubbles readable on light windows too.
        p.setPen(QPen(withAlpha(QColor(90, 170, 255), 0.95 * fade), 1.4));
        p.drawEllipse(at, radius, radius);
    }
}

QPainterPath sparkle(QPointF c, double size, double rotation)
{
    QPainterPath path;
    for (int i = 0; i < 8; ++i) {
        const double angle = rotation + i * pi / 4;
        const double r = (i % 2 == 0) ? size : size * 0.3;
        const QPointF point(c.x() + std::cos(angle) * r, c.y() + std::sin(angle) * r);
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

void drawStars(QPainter &p, QPointF c, double t)
{
    const double travel = easeOut(t);
    const double fade = std::pow(1 - t, 1.2);
    const QColor colors[] = {QColor(255, 214, 92), QColor(255, 243, 176), QColor(255, 180, 80)};
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(QColor(255, 236, 150), 0.5 * fade));
    p.drawPath(sparkle(c, 9 * (1 - t), t * pi / 2));
    for (int i = 0; i < 6; ++i) {
        const double angle = i * pi / 3 + pi / 6;
        const double distance = (14 + 6 * (i % 2)) + 22 * travel;
        const QPointF at(c.x() + std::cos(angle) * distance, c.y() + std::sin(angle) * distance);
        const double size = (i % 2 ? 6.5 : 9) * (1 - 0.5 * t);
        p.setBrush(withAlpha(colors[i % 3], fade));
        p.setPen(QPen(withAlpha(QColor(205, 120, 20), 0.9 * fade), 1.1));
        p.drawPath(sparkle(at, size, t * pi * 0.8 + i));
    }
}

void drawNeon(QPainter &p, QPointF c, double t)
{
    const QColor tones[] = {QColor(0, 240, 255), QColor(255, 60, 200)};
    for (int ring = 0; ring < 2; ++ring) {
        const double local = std::clamp((t - ring * 0.16) / (1 - ring * 0.16), 0.0, 1.0);
        if (local <= 0)
            continue;
        const double radius = 5 + 44 * easeOut(local);
        const double fade = std::pow(1 - local, 1.3);
        p.setBrush(Qt::NoBrush);
        // A wide faint stroke under a thin bright one reads as glow.
        p.setPen(QPen(withAlpha(tones[ring], 0.22 * fade), 9));
        p.drawEllipse(c, radius, radius);
        p.setPen(QPen(withAlpha(tones[ring].lighter(130), 0.95 * fade), 2.2));
        p.drawEllipse(c, radius, radius);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::white, 0.9 * (1 - t)));
    p.drawEllipse(c, 2.5, 2.5);
}

void drawPetals(QPainter &p, QPointF c, double t)
{
    const double travel = easeOut(t);
    const double fade = std::pow(1 - t, 1.3);
    for (int i = 0; i < 6; ++i) {
        const double angle = i * pi / 3 + travel * 0.9;
        const double distance = 6 + 30 * travel;
        const QPointF at(c.x() + std::cos(angle) * distance, c.y() + std::sin(angle) * distance + 6 * travel * travel);
        p.save();
        p.translate(at);
        p.rotate((angle + travel * 1.6) * 180 / pi);
        QLinearGradient petal(QPointF(-9, 0), QPointF(9, 0));
        petal.setColorAt(0, withAlpha(QColor(240, 90, 150), fade));
        petal.setColorAt(1, withAlpha(QColor(255, 190, 215), fade));
        p.setPen(QPen(withAlpha(QColor(215, 60, 125), 0.8 * fade), 1));
        p.setBrush(petal);
        QPainterPath shape;
        shape.moveTo(-9, 0);
        shape.quadTo(0, -7, 9, 0);
        shape.quadTo(0, 7, -9, 0);
        p.drawPath(shape);
        p.restore();
    }
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(QColor(255, 224, 120), 0.9 * fade));
    p.drawEllipse(c, 3 * (1 - 0.5 * t), 3 * (1 - 0.5 * t));
}

void drawCrosshair(QPainter &p, QPointF c, double t)
{
    // The sight closes in on the point, holds, then fades.
    const double close = easeOut(std::min(1.0, t / 0.55));
    const double fade = t < 0.6 ? 1.0 : std::pow(1 - (t - 0.6) / 0.4, 1.5);
    const QColor tone(255, 96, 72);
    const double radius = 34 - 20 * close;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(tone, 0.25 * fade), 6));
    p.drawEllipse(c, radius, radius);
    QPen pen(withAlpha(tone, 0.95 * fade), 2);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawEllipse(c, radius, radius);
    for (int i = 0; i < 4; ++i) {
        const double angle = i * pi / 2;
        const QPointF dir(std::cos(angle), std::sin(angle));
        p.drawLine(c + dir * (radius - 6), c + dir * (radius + 8));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(tone, fade));
    p.drawEllipse(c, 2.2, 2.2);
}

} // namespace

CursorRippleView::CursorRippleView(CursorRippleStyle style, Blending blending, QWidget *parent)
    : OverlayPanel(blending, parent)
    , m_style(style)
{
}

void CursorRippleView::paintFrame(QPainter &painter, double elapsedSeconds)
{
    const double t = std::clamp(elapsedSeconds / lifetimeSeconds, 0.0, 1.0);
    const QPointF centre(width() / 2.0, height() / 2.0);
    switch (m_style) {
    case CursorRippleStyle::bubbles:
        drawBubbles(painter, centre, t);
        break;
    case CursorRippleStyle::stars:
        drawStars(painter, centre, t);
        break;
    case CursorRippleStyle::neon:
        drawNeon(painter, centre, t);
        break;
    case CursorRippleStyle::petals:
        drawPetals(painter, centre, t);
        break;
    case CursorRippleStyle::crosshair:
        drawCrosshair(painter, centre, t);
        break;
    }
}

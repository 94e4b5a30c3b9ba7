#include "Effects/Overlays/LidMotionView.h"

#include "Effects/LidMotionPresentation.h"
#include "Effects/Overlays/OverlayGlyphs.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using OverlayGlyphs::withAlpha;

constexpr double pi = std::numbers::pi;

struct Scene {
    double w;
    double h;
    double progress;
    double angle;
    double time;
    double alpha;
};

void drawTide(QPainter &p, const Scene &s)
{
    const QColor deep(20, 90, 170);
    const QColor shallow(60, 200, 220);
    for (int layer = 0; layer < 3; ++layer) {
        const double level = s.h * (0.22 + 0.5 * s.progress) * (1 - 0.16 * layer);
        const double amplitude = (5 + 14 * s.progress) * (1 - 0.2 * layer);
        const double wavelength = s.w / (2.0 + 0.8 * layer);
        const double speed = 0.55 + 0.25 * layer;
        QPainterPath wave;
        wave.moveTo(0, s.h);
        for (double x = 0; x <= s.w + 8; x += 8) {
            const double y = s.h - level
                + amplitude * std::sin(2 * pi * x / wavelength + s.time * speed * 2 * pi * (layer % 2 ? -1 : 1) + layer);
            wave.lineTo(x, y);
        }
        wave.lineTo(s.w, s.h);
        wave.closeSubpath();
        QLinearGradient fill(0, s.h - level - amplitude, 0, s.h);
        // Three layers stack to about half cover at the bottom, so windows stay readable.
        fill.setColorAt(0, withAlpha(shallow, (0.12 + 0.04 * layer) * s.alpha));
        fill.setColorAt(1, withAlpha(deep, 0.2 * s.alpha));
        p.setPen(QPen(withAlpha(QColor(220, 250, 255), 0.35 * s.alpha), 1.4));
        p.setBrush(fill);
        p.drawPath(wave);
    }
}

void drawAurora(QPainter &p, const Scene &s)
{
    const QColor tones[] = {QColor(70, 240, 170), QColor(120, 140, 255), QColor(210, 110, 255)};
    for (int ribbon = 0; ribbon < 3; ++ribbon) {
        const double base = s.h * (0.85 - 0.5 * s.progress) + ribbon * s.h * 0.08;
        const double sway = 18 + 26 * s.progress;
        QPainterPath curtain;
        curtain.moveTo(0, s.h);
        for (double x = 0; x <= s.w + 10; x += 10) {
            const double y = base + sway * std::sin(x / (170 + 40 * ribbon) + s.time * (0.5 + 0.2 * ribbon) + ribbon * 2)
                + 8 * std::sin(x / 43.0 - s.time * 1.3);
            curtain.lineTo(x, y);
        }
        curtain.lineTo(s.w, s.h);
        curtain.closeSubpath();
        QLinearGradient fill(0, base - sway, 0, s.h);
        fill.setColorAt(0, withAlpha(tones[ribbon], 0.42 * s.alpha));
        fill.setColorAt(0.35, withAlpha(tones[ribbon], 0.16 * s.alpha));
        fill.setColorAt(1, withAlpha(tones[ribbon], 0.0));
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawPath(curtain);
    }
}

void drawOrbit(QPainter &p, const Scene &s)
{
    const QPointF centre(s.w / 2, s.h * 1.05);
    p.setBrush(Qt::NoBrush);
    for (int ring = 0; ring < 3; ++ring) {
        const double rx = s.w * (0.14 + 0.1 * ring) * (0.7 + 0.5 * s.progress);
        const double ry = s.h * (0.3 + 0.2 * ring) * (0.6 + 0.6 * s.progress);
        p.setPen(QPen(withAlpha(QColor(170, 190, 255), 0.22 * s.alpha), 1.2));
        p.drawEllipse(centre, rx, ry);
        const int moons = 3 + ring;
        for (int i = 0; i < moons; ++i) {
            const double a = -(s.time * (0.35 + 0.5 * s.progress) * (ring % 2 ? -1 : 1) + 2 * pi * i / moons + ring);
            const QPointF at(centre.x() + rx * std::cos(a), centre.y() + ry * std::sin(a));
            if (at.y() > s.h)
                continue;
            const double r = 4 + 2 * (ring % 2);
            QRadialGradient glow(at, r * 3);
            const QColor tone = ring == 1 ? QColor(255, 190, 120) : QColor(150, 200, 255);
            glow.setColorAt(0, withAlpha(Qt::white, 0.9 * s.alpha));
            glow.setColorAt(0.3, withAlpha(tone, 0.7 * s.alpha));
            glow.setColorAt(1, withAlpha(tone, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(at, r * 3, r * 3);
        }
    }
}

void drawSunrise(QPainter &p, const Scene &s)
{
    const double radius = s.h * 0.42;
    const QPointF centre(s.w / 2, s.h + radius * (0.75 - 1.1 * s.progress));
    QLinearGradient haze(0, 0, 0, s.h);
    haze.setColorAt(0, withAlpha(QColor(255, 150, 80), 0));
    haze.setColorAt(1, withAlpha(QColor(255, 120, 90), 0.28 * s.alpha));
    p.setPen(Qt::NoPen);
    p.setBrush(haze);
    p.drawRect(QRectF(0, 0, s.w, s.h));
    p.save();
    p.translate(centre);
    p.rotate(s.time * 6);
    for (int i = 0; i < 16; ++i) {
        p.rotate(360.0 / 16);
        QLinearGradient ray(0, 0, 0, -radius * 2.4);
        ray.setColorAt(0, withAlpha(QColor(255, 214, 120), 0.3 * s.alpha));
        ray.setColorAt(1, withAlpha(QColor(255, 214, 120), 0));
        p.setBrush(ray);
        QPainterPath beam;
        beam.moveTo(-radius * 0.08, 0);
        beam.lineTo(radius * 0.08, 0);
        beam.lineTo(radius * 0.22, -radius * 2.4);
        beam.lineTo(-radius * 0.22, -radius * 2.4);
        beam.closeSubpath();
        p.drawPath(beam);
    }
    p.restore();
    QRadialGradient sun(centre, radius);
    sun.setColorAt(0, withAlpha(QColor(255, 244, 200), 0.6 * s.alpha));
    sun.setColorAt(0.7, withAlpha(QColor(255, 170, 80), 0.42 * s.alpha));
    sun.setColorAt(1, withAlpha(QColor(255, 120, 60), 0));
    p.setBrush(sun);
    p.drawEllipse(centre, radius, radius);
}

void drawPrism(QPainter &p, const Scene &s)
{
    const double side = s.h * 0.42;
    const QPointF apex(s.w / 2, s.h - side * 0.95);
    const QPointF left(s.w / 2 - side / 2, s.h - 6);
    const QPointF right(s.w / 2 + side / 2, s.h - 6);
    // The incoming beam tilts with the lid.
    const double tilt = (s.angle - 90) * 0.4 * pi / 180;
    const QPointF entry((apex.x() + left.x()) / 2, (apex.y() + left.y()) / 2);
    const QPointF source(0, entry.y() - std::tan(0.25 + tilt) * entry.x());
    QPen beam(withAlpha(Qt::white, 0.55 * s.alpha), 5);
    beam.setCapStyle(Qt::FlatCap);
    p.setPen(beam);
    p.drawLine(source, entry);

    const QColor spectrum[] = {QColor(255, 70, 70), QColor(255, 160, 50), QColor(255, 235, 80),
                               QColor(80, 220, 110), QColor(70, 150, 255), QColor(160, 90, 255)};
    const QPointF exit((apex.x() + right.x()) / 2, (apex.y() + right.y()) / 2);
    const double spread = 0.05 + 0.1 * s.progress;
    const double shimmer = 0.02 * std::sin(s.time * 1.7);
    for (int i = 0; i < 6; ++i) {
        const double a = -0.15 + tilt * 0.5 + shimmer + (i - 2.5) * spread;
        const double length = s.w;
        const QPointF far(exit.x() + length * std::cos(a), exit.y() + length * std::sin(a));
        QLinearGradient fade(exit, far);
        fade.setColorAt(0, withAlpha(spectrum[i], 0.55 * s.alpha));
        fade.setColorAt(1, withAlpha(spectrum[i], 0));
        QPen band(QBrush(fade), 7 + 6 * s.progress);
        band.setCapStyle(Qt::FlatCap);
        p.setPen(band);
        p.drawLine(exit, far);
    }
    QPainterPath prism;
    prism.moveTo(apex);
    prism.lineTo(right);
    prism.lineTo(left);
    prism.closeSubpath();
    QLinearGradient glass(left, right);
    glass.setColorAt(0, withAlpha(QColor(200, 230, 255), 0.3 * s.alpha));
    glass.setColorAt(1, withAlpha(QColor(255, 255, 255), 0.18 * s.alpha));
    p.setPen(QPen(withAlpha(Qt::white, 0.7 * s.alpha), 1.6));
    p.setBrush(glass);
    p.drawPath(prism);
}

} // namespace

LidMotionView::LidMotionView(const LidMotionPresentation &presentation, Blending blending, QWidget *parent)
    : OverlayPanel(blending, parent)
    , m_presentation(presentation)
{
    connect(&presentation, &LidMotionPresentation::changed, this, &LidMotionView::presentationChanged);
    m_target = presentation.isVisible();
}

void LidMotionView::presentationChanged()
{
    if (m_presentation.isVisible() != m_target) {
        const double now = elapsedSeconds();
        m_fadeFrom = visibility(now);
        m_fadeStartedAt = now;
        m_target = m_presentation.isVisible();
    }
    refresh();
}

double LidMotionView::visibility(double elapsed) const
{
    const double t = std::clamp((elapsed - m_fadeStartedAt) / fadeSeconds, 0.0, 1.0);
    const double goal = m_target ? 1.0 : 0.0;
    return m_fadeFrom + (goal - m_fadeFrom) * t;
}

bool LidMotionView::isFadedOut() const
{
    return !m_target && visibility(elapsedSeconds()) <= 0.0;
}

bool LidMotionView::animates(double elapsed) const
{
    return m_target || visibility(elapsed) > 0.0;
}

void LidMotionView::paintFrame(QPainter &painter, double elapsed)
{
    const double alpha = visibility(elapsed);
    if (alpha <= 0)
        return;
    const Scene scene{double(width()), double(height()), m_presentation.progress(), m_presentation.angle().value_or(90.0),
                      elapsed, alpha};
    switch (m_presentation.style()) {
    case LidDanceStyle::tide:
        drawTide(painter, scene);
        break;
    case LidDanceStyle::aurora:
        drawAurora(painter, scene);
        break;
    case LidDanceStyle::orbit:
        drawOrbit(painter, scene);
        break;
    case LidDanceStyle::sunrise:
        drawSunrise(painter, scene);
        break;
    case LidDanceStyle::prism:
        drawPrism(painter, scene);
        break;
    }
}

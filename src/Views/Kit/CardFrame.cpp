#include "Views/Kit/CardFrame.h"

#include <QPainter>
#include <QPainterPath>

CardFrame::CardFrame(qreal radius, const QColor &fill, const QColor &border, QWidget *parent)
    : QWidget(parent)
    , m_radius(radius)
    , m_fill(fill)
    , m_border(border)
{
}

CardFrame::CardFrame(qreal radius, Tone fill, Tone border, QWidget *parent)
    : QWidget(parent)
    , m_radius(radius)
    , m_fillTone(fill)
    , m_borderTone(border)
{
}

void CardFrame::setFill(const QColor &fill)
{
    if (fill == m_fill && !m_fillTone)
        return;
    m_fill = fill;
    m_fillTone.reset();
    update();
}

void CardFrame::setCapsule(bool capsule)
{
    m_capsule = capsule;
    update();
}

void CardFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = m_capsule ? box.height() / 2 : m_radius;
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    const auto resolve = [](const std::optional<Tone> &tone, const QColor &color) {
        return tone ? KitStyle::color(tone->role, tone->opacity) : color;
    };
    painter.fillPath(path, resolve(m_fillTone, m_fill));
    const QColor border = resolve(m_borderTone, m_border);
    if (border.alpha() > 0) {
        painter.setPen(QPen(border, 1));
        painter.drawPath(path);
    }
}

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

void CardFrame::setFill(const QColor &fill)
{
    if (fill == m_fill)
        return;
    m_fill = fill;
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
    painter.fillPath(path, m_fill);
    if (m_border.alpha() > 0) {
        painter.setPen(QPen(m_border, 1));
        painter.drawPath(path);
    }
}

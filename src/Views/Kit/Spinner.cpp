#include "Views/Kit/Spinner.h"

#include "Views/Kit/KitStyle.h"

#include <QPainter>

namespace {
constexpr int spokes = 8;
}

Spinner::Spinner(int diameter, QWidget *parent)
    : QWidget(parent)
    , m_diameter(diameter)
    , m_color(KitStyle::color(ColorRole::secondary))
{
    setFixedSize(diameter, diameter);
    setAccessibleName(QStringLiteral("Loading"));
    m_timer.setInterval(90);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % spokes;
        update();
    });
}

void Spinner::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void Spinner::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_timer.start();
}

void Spinner::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_timer.stop();
}

void Spinner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width() / 2.0, height() / 2.0);
    const qreal radius = m_diameter / 2.0;
    for (int spoke = 0; spoke < spokes; ++spoke) {
        const int age = (m_step - spoke + spokes) % spokes;
        painter.setPen(QPen(KitStyle::withOpacity(m_color, 1.0 - age * 0.11), radius / 4, Qt::SolidLine,
                            Qt::RoundCap));
        painter.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius * 0.9));
        painter.rotate(360.0 / spokes);
    }
}

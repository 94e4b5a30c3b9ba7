#include "Views/Kit/SwitchToggle.h"

#include "Foundation/Contrast.h"
#include "Views/Kit/KitStyle.h"

#include <QPainter>

SwitchToggle::SwitchToggle(const QString &accessibleName, QWidget *parent)
    : QAbstractButton(parent)
    , m_accent(KitStyle::color(ColorRole::green))
{
    setCheckable(true);
    setAccessibleName(accessibleName);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SwitchToggle::setAccent(const QColor &accent)
{
    if (accent == m_accent)
        return;
    m_accent = accent;
    update();
}

QSize SwitchToggle::sizeHint() const
{
    return {38, 22};
}

void SwitchToggle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(1, 1, -1, -1);
    QColor fill = isChecked() ? m_accent : KitStyle::color(ColorRole::controlEdge);
    QColor knobFill = Qt::white;
    // Disabled, on or off, the track loses its colour and the knob alone tells the state; the
    // knob fades towards the card too, or a white knob on a dark card reads as enabled.
    if (!isEnabled()) {
        fill = KitStyle::color(ColorRole::tertiary, isChecked() ? 0.45 : 0.25);
        knobFill = Contrast::over(KitStyle::withOpacity(knobFill, 0.55), KitStyle::color(ColorRole::controlBackground));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    const qreal knob = track.height() - 4;
    const qreal x = isChecked() ? track.right() - 2 - knob : track.left() + 2;
    painter.setBrush(knobFill);
    painter.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
    if (hasFocus()) {
        painter.setPen(QPen(KitStyle::withOpacity(m_accent, 0.5), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    }
}

#include "Views/Kit/ColorSwatch.h"

#include "Foundation/Contrast.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolIcon.h"

#include <QPainter>

ColorSwatch::ColorSwatch(const QColor &color, const QString &accessibleName, QWidget *parent)
    : QAbstractButton(parent)
    , m_color(color)
{
    setAccessibleName(accessibleName);
    setCursor(Qt::PointingHandCursor);
    setCheckable(true);
    setFixedSize(38, 38);
}

void ColorSwatch::setSelected(bool selected)
{
    if (selected != isChecked())
        setChecked(selected);
}

void ColorSwatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle(5, 5, 28, 28);
    // A colour too close to the card to stand out by itself (the darkest tone on a dark card)
    // gets the kit's control edge around it.
    const bool faint =
        Contrast::ratio(m_color, KitStyle::color(palette(), ColorRole::controlBackground)) < Contrast::large;
    painter.setPen(QPen(faint ? KitStyle::color(palette(), ColorRole::controlEdge)
                              : KitStyle::color(palette(), ColorRole::secondary, 0.25),
                        1));
    painter.setBrush(m_color);
    painter.drawEllipse(circle);
    if (!isChecked())
        return;
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(circle.adjusted(1, 1, -1, -1));
    const QIcon check = SymbolIcon::icon(QStringLiteral("checkmark"), Qt::white);
    painter.drawPixmap(QRect(12, 12, 14, 14), check.pixmap(14, 14));
}

#include "Views/Kit/DividerLine.h"

#include "Views/Kit/KitStyle.h"

#include <QPainter>

DividerLine::DividerLine(QWidget *parent)
    : QWidget(parent)
{
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void DividerLine::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), KitStyle::color(ColorRole::separator));
}

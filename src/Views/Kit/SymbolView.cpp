#include "Views/Kit/SymbolView.h"

#include <QPainter>

SymbolView::SymbolView(int side, QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(side, side);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SymbolView::setIcon(const QIcon &icon)
{
    m_icon = icon;
    update();
}

void SymbolView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_icon.paint(&painter, rect(), Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
}

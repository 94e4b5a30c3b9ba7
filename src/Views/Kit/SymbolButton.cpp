#include "Views/Kit/SymbolButton.h"

#include "Views/Kit/SymbolIcon.h"

SymbolButton::SymbolButton(const QString &accessibleName, int size, QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setIconSize(QSize(size, size));
    setAccessibleName(accessibleName);
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 1px; }"));
}

SymbolButton::SymbolButton(const QString &symbol, const QColor &tint, const QString &accessibleName, int size,
                           QWidget *parent)
    : SymbolButton(accessibleName, size, parent)
{
    setSymbol(symbol, tint);
}

SymbolButton::SymbolButton(const QString &symbol, ColorRole role, const QString &accessibleName, int size,
                           QWidget *parent)
    : SymbolButton(accessibleName, size, parent)
{
    m_symbol = symbol;
    setIcon(SymbolIcon::icon(symbol, role));
}

void SymbolButton::setSymbol(const QString &symbol, const QColor &tint)
{
    if (symbol == m_symbol && tint == m_tint && !icon().isNull())
        return;
    m_symbol = symbol;
    m_tint = tint;
    setIcon(SymbolIcon::icon(symbol, tint));
}

#include "Views/Kit/ProminentButton.h"

#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolIcon.h"

ProminentButton::ProminentButton(const QString &symbol, const QString &text, QWidget *parent)
    : QPushButton(text, parent)
    , m_symbol(symbol)
    , m_tint(KitStyle::color(ColorRole::primary))
{
    setAccessibleName(text);
    setCursor(Qt::PointingHandCursor);
    restyle();
}

void ProminentButton::setSymbol(const QString &symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    restyle();
}

void ProminentButton::setTint(const QColor &tint)
{
    if (tint == m_tint)
        return;
    m_tint = tint;
    restyle();
}

void ProminentButton::setContentColor(const QColor &color)
{
    if (color == m_content)
        return;
    m_content = color;
    restyle();
}

void ProminentButton::restyle()
{
    if (!m_symbol.isEmpty())
        SymbolIcon::setLeadingIcon(this, m_symbol, m_content);
    setStyleSheet(QStringLiteral("QPushButton { background: %1; color: %2; border: none; border-radius: 6px;"
                                 " padding: 5px 12px; }"
                                 "QPushButton:pressed { background: %3; }"
                                 "QPushButton:disabled { background: %4; color: %5; }")
                      .arg(m_tint.name(QColor::HexArgb), m_content.name(QColor::HexArgb),
                           m_tint.darker(115).name(QColor::HexArgb),
                           KitStyle::withOpacity(m_tint, 0.4).name(QColor::HexArgb),
                           KitStyle::withOpacity(m_content, 0.7).name(QColor::HexArgb)));
    // A style sheet drops the inherited font; the semibold body font is set again after it.
    setFont(KitStyle::font(FontRole::body, QFont::DemiBold));
}

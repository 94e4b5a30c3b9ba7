#include "Views/Kit/ProminentButton.h"

#include "Foundation/Contrast.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SchemeFollower.h"
#include "Views/Kit/SymbolIcon.h"

ProminentButton::ProminentButton(const QString &symbol, const QString &text, QWidget *parent)
    : QPushButton(text, parent)
    , m_symbol(symbol)
    , m_tint(KitStyle::color(ColorRole::primary))
{
    setAccessibleName(text);
    setCursor(Qt::PointingHandCursor);
    SchemeFollower::follow(this, [this] { restyle(); });
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
    // White content stays readable: a tint too light for it is taken darker.
    const QColor tint = m_content == QColor(Qt::white) && m_tint.alpha() == 255
                            ? Contrast::readable(m_tint, {m_content})
                            : m_tint;
    if (!m_symbol.isEmpty())
        SymbolIcon::setLeadingIcon(this, m_symbol, m_content);
    // The fill's own hue marks the edge, made to stand out from every background it sits on.
    const QColor edge = Contrast::readable(Contrast::over(tint, KitStyle::color(ColorRole::windowBackground)),
                                           {KitStyle::color(ColorRole::windowBackground),
                                            KitStyle::color(ColorRole::controlBackground),
                                            KitStyle::color(ColorRole::barBackground)},
                                           Contrast::large);
    setStyleSheet(QStringLiteral("QPushButton { background: %1; color: %2; border: 1px solid %6; border-radius: 6px;"
                                 " padding: 4px 11px; }"
                                 "QPushButton:pressed { background: %3; }"
                                 "QPushButton:disabled { background: %4; color: %5; border-color: %4; }")
                      .arg(tint.name(QColor::HexArgb), m_content.name(QColor::HexArgb),
                           tint.darker(115).name(QColor::HexArgb),
                           KitStyle::withOpacity(tint, 0.4).name(QColor::HexArgb),
                           KitStyle::withOpacity(m_content, 0.7).name(QColor::HexArgb), edge.name()));
    // A style sheet drops the inherited font; the semibold body font is set again after it.
    setFont(KitStyle::font(FontRole::body, QFont::DemiBold));
}

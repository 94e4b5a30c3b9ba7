#include "Views/Kit/SymbolLabel.h"

#include "Views/Kit/ElidedLabel.h"
#include "Views/Kit/SchemeFollower.h"
#include "Views/Kit/SymbolIcon.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>

SymbolLabel::SymbolLabel(const QString &symbol, const QString &text, const QFont &font, ColorRole color,
                         QWidget *parent)
    : QWidget(parent)
    , m_icon(new QLabel(this))
    , m_text(new ElidedLabel(text, this))
    , m_symbol(symbol)
    , m_role(color)
{
    m_text->setFont(font);
    // Whole where there is room; a file or folder name too long for the row ends in an ellipsis.
    m_text->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(std::max(4, QFontInfo(font).pixelSize() / 2));
    layout->addWidget(m_icon);
    layout->addWidget(m_text, 1);
    SchemeFollower::follow(this, [this] {
        if (m_role)
            m_color = KitStyle::color(*m_role);
        refreshIcon();
    });
}

void SymbolLabel::setSymbol(const QString &symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    refreshIcon();
}

void SymbolLabel::setText(const QString &text)
{
    m_text->setFullText(text);
}

QString SymbolLabel::text() const
{
    return m_text->fullText();
}

void SymbolLabel::setColor(const QColor &color)
{
    m_role.reset();
    if (color == m_color)
        return;
    m_color = color;
    refreshIcon();
}

void SymbolLabel::refreshIcon()
{
    const int side = QFontMetrics(m_text->font()).height();
    m_icon->setPixmap(SymbolIcon::icon(m_symbol, m_color).pixmap(side, side));
    m_icon->setFixedSize(side, side);
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::WindowText, m_color);
    m_text->setPalette(palette);
}

#include "Views/Kit/StatusPill.h"

#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolLabel.h"

#include <QHBoxLayout>

StatusPill::StatusPill(QWidget *parent)
    : CardFrame(0, Tone{ColorRole::windowBackground, 0}, Tone{ColorRole::secondary, 0.16}, parent)
{
    setCapsule(true);
    m_label = new SymbolLabel(QString(), QString(), KitStyle::font(FontRole::caption, QFont::Medium),
                              ColorRole::primary, this);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 7, 10, 7);
    layout->addWidget(m_label);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void StatusPill::setState(const QString &text, const QString &symbol, const QColor &color)
{
    m_label->setText(text);
    m_label->setSymbol(symbol);
    m_label->setColor(color);
    m_color = color;
    setFill(KitStyle::withOpacity(color, 0.08));
    setAccessibleName(text);
}

QString StatusPill::text() const
{
    return m_label->text();
}

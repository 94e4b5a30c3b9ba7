#include "Views/Kit/SettingsPanel.h"

#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolLabel.h"

#include <QVBoxLayout>

SettingsPanel::SettingsPanel(const QString &title, const QString &symbol, QWidget *parent)
    : CardFrame(14, Tone{ColorRole::controlBackground}, Tone{ColorRole::secondary, 0.13}, parent)
{
    setAccessibleName(title);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->addWidget(new SymbolLabel(symbol, title, KitStyle::font(FontRole::headline), ColorRole::primary, this));
    m_body = new QVBoxLayout;
    m_body->setContentsMargins(0, 0, 0, 0);
    m_body->setSpacing(12);
    layout->addLayout(m_body);
}

void SettingsPanel::add(QWidget *widget)
{
    m_body->addWidget(widget);
}

void SettingsPanel::add(QLayout *layout)
{
    m_body->addLayout(layout);
}

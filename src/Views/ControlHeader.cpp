#include "Views/ControlHeader.h"

#include "Views/Kit/CardFrame.h"
#include "Views/Kit/StatusPill.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/SymbolView.h"
#include "Views/Kit/TextLabels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

ControlHeader::ControlHeader(QWidget *parent)
    : QWidget(parent)
{
    // A palette role rather than a colour, so the fill follows a change of scheme.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);

    m_tile = new CardFrame(10, Qt::transparent, Qt::transparent, this);
    m_tile->setFixedSize(40, 40);
    m_icon = new SymbolView(20, m_tile);
    m_icon->move(10, 10);

    auto *title = new QLabel(QStringLiteral("Plinkly"), this);
    title->setFont(KitStyle::font(FontRole::title3, QFont::DemiBold));
    auto *subtitle = new QLabel(QStringLiteral("Sound, focus, and desktop effects"), this);
    subtitle->setFont(KitStyle::font(FontRole::caption));
    TextLabels::tint(subtitle, ColorRole::secondary);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(title);
    titles->addWidget(subtitle);

    m_effects = new StatusPill(this);
    m_effects->setObjectName(QStringLiteral("effectsPill"));
    m_input = new StatusPill(this);
    m_input->setObjectName(QStringLiteral("inputPill"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(20, 12, 20, 12);
    layout->setSpacing(12);
    layout->addWidget(m_tile);
    layout->addLayout(titles);
    layout->addStretch(1);
    layout->addWidget(m_effects);
    layout->addWidget(m_input);
}

void ControlHeader::setAccent(const QColor &accent)
{
    if (accent == m_accent)
        return;
    m_accent = accent;
    m_tile->setFill(KitStyle::tintedTile(accent, 0.10).fill);
    // The ink stands out from the tile in the scheme of the moment.
    m_icon->setIcon(
        SymbolIcon::icon(QStringLiteral("keyboard"), [accent] { return KitStyle::tintedTile(accent, 0.10).ink; }));
}

void ControlHeader::setPills(const HeaderPills::Pill &effects, const HeaderPills::Pill &input)
{
    m_effects->setState(effects.text, effects.symbol, KitStyle::color(effects.color));
    m_input->setState(input.text, input.symbol, KitStyle::color(input.color));
}

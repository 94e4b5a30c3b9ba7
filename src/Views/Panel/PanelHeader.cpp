#include "Views/Panel/PanelHeader.h"

#include "Foundation/Contrast.h"
#include "Views/AppModel.h"
#include "Views/Kit/CardFrame.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/SymbolView.h"
#include "Views/Kit/TextLabels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

struct StatusDot {
    ColorRole color;
    QString help;
};

StatusDot statusDot(bool effectsPaused, bool monitorActive)
{
    if (effectsPaused)
        return {ColorRole::tertiary, QStringLiteral("Effects paused")};
    if (monitorActive)
        return {ColorRole::green, QStringLiteral("Input monitor active")};
    return {ColorRole::orange, QStringLiteral("Input permission needed")};
}

}

PanelHeader::PanelHeader(AppModel &app, QWidget *parent)
    : PanelSection(app, parent)
{
    m_symbol = new SymbolView(QFontMetrics(KitStyle::font(FontRole::title2)).height(), this);
    auto *title = new QLabel(QStringLiteral("Plinkly"), this);
    title->setFont(KitStyle::font(FontRole::headline));
    auto *subtitle = new QLabel(QStringLiteral("Your computer, with feedback"), this);
    subtitle->setFont(KitStyle::font(FontRole::caption));
    TextLabels::tint(subtitle, ColorRole::secondary);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(1);
    titles->addWidget(title);
    titles->addWidget(subtitle);

    m_dot = new CardFrame(4, Qt::transparent, Qt::transparent, this);
    m_dot->setObjectName(QStringLiteral("statusDot"));
    m_dot->setFixedSize(8, 8);

    auto *row = new QHBoxLayout;
    row->addWidget(m_symbol);
    row->addLayout(titles);
    row->addStretch();
    row->addWidget(m_dot);
    rows()->addLayout(row);
}

void PanelHeader::sync()
{
    const QColor tint = accent();
    if (tint != m_symbolTint) {
        m_symbolTint = tint;
        // The accent as a mark that stands out from the panel in the scheme of the moment.
        m_symbol->setIcon(SymbolIcon::icon(QStringLiteral("keyboard.badge.ellipsis"),
                                           [tint] { return KitStyle::readable(tint, Contrast::large); }));
    }
    const StatusDot dot = statusDot(app().settings().effectsPaused(), app().input().monitorActive());
    m_statusColor = KitStyle::color(dot.color);
    m_dot->setFill(m_statusColor);
    if (m_dot->toolTip() != dot.help) {
        m_dot->setToolTip(dot.help);
        m_dot->setAccessibleName(dot.help);
    }
}

QString PanelHeader::statusHelp() const
{
    return m_dot->toolTip();
}

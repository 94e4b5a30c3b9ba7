#include "Views/Pages/ControlPage.h"

#include "Services/SettingsStore.h"
#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"

#include <QLabel>

ControlPage::ControlPage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : PageScaffold(parent)
    , m_app(app)
    , m_state(state)
{
}

QColor ControlPage::accent() const
{
    return KitStyle::accent(m_app.settings());
}

void ControlPage::addPlaceholderTitle(SettingsPage page)
{
    auto *title = new QLabel(rawValue(page), this);
    title->setObjectName(QStringLiteral("pageTitle"));
    title->setFont(KitStyle::font(FontRole::largeTitle, QFont::DemiBold));
    addSection(title);
}

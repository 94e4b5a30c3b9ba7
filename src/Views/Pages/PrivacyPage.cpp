#include "Views/Pages/PrivacyPage.h"

#include "Views/Privacy/PrivacyPanel.h"

PrivacyPage::PrivacyPage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
    , m_panel(new PrivacyPanel(app))
{
    addSection(m_panel);
}

void PrivacyPage::sync()
{
    m_panel->sync();
}

#include "Views/Pages/PrivacyPage.h"

PrivacyPage::PrivacyPage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
{
    addPlaceholderTitle(SettingsPage::privacy);
}

void PrivacyPage::sync() {}

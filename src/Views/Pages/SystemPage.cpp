#include "Views/Pages/SystemPage.h"

SystemPage::SystemPage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
{
    addPlaceholderTitle(SettingsPage::system);
}

void SystemPage::sync() {}

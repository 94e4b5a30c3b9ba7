#include "Views/Pages/HomePage.h"

HomePage::HomePage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
{
    addPlaceholderTitle(SettingsPage::home);
}

void HomePage::sync() {}

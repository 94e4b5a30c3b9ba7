#include "Views/Pages/ToysPage.h"

ToysPage::ToysPage(AppController &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
{
    addPlaceholderTitle(SettingsPage::toys);
}

void ToysPage::sync() {}

#include "Views/Pages/ToysPage.h"

ToysPage::ToysPage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
{
    addPlaceholderTitle(SettingsPage::toys);
}

void ToysPage::sync() {}

#include "Views/Pages/SoundsPage.h"

SoundsPage::SoundsPage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
{
    addPlaceholderTitle(SettingsPage::sounds);
}

void SoundsPage::sync() {}

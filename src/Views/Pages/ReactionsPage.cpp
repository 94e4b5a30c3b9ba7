#include "Views/Pages/ReactionsPage.h"

ReactionsPage::ReactionsPage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
{
    addPlaceholderTitle(SettingsPage::reactions);
}

void ReactionsPage::sync() {}

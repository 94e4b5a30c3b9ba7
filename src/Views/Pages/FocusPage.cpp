#include "Views/Pages/FocusPage.h"

FocusPage::FocusPage(AppModel &app, SettingsViewState &state, QWidget *parent)
    : ControlPage(app, state, parent)
{
    addPlaceholderTitle(SettingsPage::focus);
}

void FocusPage::sync() {}

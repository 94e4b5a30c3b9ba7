#pragma once

#include "Views/Pages/ControlPage.h"

// The Home page of the control window.
class HomePage final : public ControlPage {
    Q_OBJECT

public:
    HomePage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync() override;
};

#pragma once

#include "Views/Pages/ControlPage.h"

// The System page of the control window.
class SystemPage final : public ControlPage {
    Q_OBJECT

public:
    SystemPage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync() override;
};

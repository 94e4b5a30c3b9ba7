#pragma once

#include "Views/Pages/ControlPage.h"

// The Focus page of the control window.
class FocusPage final : public ControlPage {
    Q_OBJECT

public:
    FocusPage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync() override;
};

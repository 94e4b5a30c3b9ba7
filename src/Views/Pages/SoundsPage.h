#pragma once

#include "Views/Pages/ControlPage.h"

// The Sounds page of the control window.
class SoundsPage final : public ControlPage {
    Q_OBJECT

public:
    SoundsPage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync() override;
};

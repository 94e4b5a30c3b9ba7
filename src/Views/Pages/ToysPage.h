#pragma once

#include "Views/Pages/ControlPage.h"

// The Toys page of the control window.
class ToysPage final : public ControlPage {
    Q_OBJECT

public:
    ToysPage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync() override;
};

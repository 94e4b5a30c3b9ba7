#pragma once

#include "Views/Pages/ControlPage.h"

// The Reactions page of the control window.
class ReactionsPage final : public ControlPage {
    Q_OBJECT

public:
    ReactionsPage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync() override;
};

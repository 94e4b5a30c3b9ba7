#pragma once

#include "Views/Pages/ControlPage.h"

// The Privacy page of the control window.
class PrivacyPage final : public ControlPage {
    Q_OBJECT

public:
    PrivacyPage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync() override;
};

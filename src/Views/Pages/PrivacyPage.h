#pragma once

#include "Views/Pages/ControlPage.h"

class PrivacyPanel;

// The Privacy page of the control window: one card on what Plinkly reads and the state of
// its input access.
class PrivacyPage final : public ControlPage {
    Q_OBJECT

public:
    PrivacyPage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync() override;

private:
    PrivacyPanel *m_panel = nullptr;
};

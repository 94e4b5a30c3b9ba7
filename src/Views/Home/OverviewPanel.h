#pragma once

#include "Views/Kit/SettingsPanel.h"

class AppModel;
class ProminentButton;
class SettingsViewState;

// "Overview": pause or resume every effect, clear what is on screen, and go to the Focus page.
class OverviewPanel final : public SettingsPanel {
    Q_OBJECT

public:
    OverviewPanel(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync(const QColor &accent);

private:
    AppModel &m_app;
    ProminentButton *m_pause = nullptr;
};

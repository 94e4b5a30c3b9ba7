#pragma once

#include "Views/Kit/SettingsPanel.h"

class AppModel;
class SwitchRow;
class SymbolLabel;

// "Arrivals": the master switch, the downloads and devices switches, the previews (each
// held back by its own kind's switch) and the listeners' status line.
class ArrivalsPanel final : public SettingsPanel {
    Q_OBJECT

public:
    explicit ArrivalsPanel(AppModel &app, QWidget *parent = nullptr);

    void sync();

private:
    AppModel &m_app;
    SwitchRow *m_toggle = nullptr;
    SwitchRow *m_downloads = nullptr;
    SwitchRow *m_devices = nullptr;
    QWidget *m_previews = nullptr;
    SymbolLabel *m_status = nullptr;
};

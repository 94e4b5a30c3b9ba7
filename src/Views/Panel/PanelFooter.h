#pragma once

#include "Views/Panel/PanelSection.h"

class QPushButton;
class SwitchRow;

// Launch at login, then the buttons that open the control window (Ctrl+,) and quit (Ctrl+Q).
class PanelFooter final : public PanelSection {
    Q_OBJECT

public:
    explicit PanelFooter(AppModel &app, QWidget *parent = nullptr);

    void sync() override;

private:
    SwitchRow *m_launchAtLogin = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_quit = nullptr;
};

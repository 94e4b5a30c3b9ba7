#pragma once

#include "Views/Kit/SettingsPanel.h"

class AppModel;
class QLabel;
class QPushButton;
class SwitchRow;
class SymbolLabel;

// "Desktop Physics": the switch, whether icon places can be read (with the way to allow it),
// the grid of modes, disabled while effects are paused or physics is off, and while a mode
// runs, its name with "Stop Now", which works whatever the rest says.
class DesktopPhysicsPanel final : public SettingsPanel {
    Q_OBJECT

public:
    explicit DesktopPhysicsPanel(AppModel &app, QWidget *parent = nullptr);

    void sync();

private:
    AppModel &m_app;
    SwitchRow *m_toggle = nullptr;
    SymbolLabel *m_precise = nullptr;
    QWidget *m_approximate = nullptr;
    QWidget *m_modes = nullptr;
    QWidget *m_running = nullptr;
    SymbolLabel *m_runningLabel = nullptr;
};

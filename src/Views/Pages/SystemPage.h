#pragma once

#include "Views/Pages/ControlPage.h"

class ArrivalsPanel;
class CursorClicksPanel;
class DesktopPhysicsPanel;
class LidDancePanel;
class PowerPanel;
class ScreenshotsPanel;
class SleepWakePanel;
class SystemReactionsPanel;

// The System page: eight sections in a fixed order, for the lid, system reactions, power,
// sleep and wake, arrivals, screenshots, cursor clicks and desktop physics, each with the
// previews of its reactions.
class SystemPage final : public ControlPage {
    Q_OBJECT

public:
    SystemPage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync() override;

private:
    LidDancePanel *m_lid = nullptr;
    SystemReactionsPanel *m_reactions = nullptr;
    PowerPanel *m_power = nullptr;
    SleepWakePanel *m_sleep = nullptr;
    ArrivalsPanel *m_arrivals = nullptr;
    ScreenshotsPanel *m_screenshots = nullptr;
    CursorClicksPanel *m_cursor = nullptr;
    DesktopPhysicsPanel *m_physics = nullptr;
};

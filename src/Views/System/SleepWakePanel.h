#pragma once

#include "Effects/SystemReactionEvent.h"
#include "Views/Kit/SettingsPanel.h"

class AppModel;
class SwitchRow;

// "Sleep & Wake": the switch and the sleep and wake previews.
class SleepWakePanel final : public SettingsPanel {
    Q_OBJECT

public:
    explicit SleepWakePanel(AppModel &app, QWidget *parent = nullptr);

    void sync();

private:
    // Plays the event as a real one would, unless sleep and wake reactions are off.
    void preview(SystemReactionEvent::Kind kind);

    AppModel &m_app;
    SwitchRow *m_toggle = nullptr;
    QWidget *m_previews = nullptr;
};

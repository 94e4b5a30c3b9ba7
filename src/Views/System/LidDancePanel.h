#pragma once

#include "Effects/LidDanceStyle.h"
#include "Views/Kit/SettingsPanel.h"

#include <utility>
#include <vector>

class AppModel;
class ChipButton;
class QLabel;
class SwitchRow;

// "Lid Dance": the switch (only with a lid sensor), the style chips, which always store and
// preview, and the angle readout or the note that there is no sensor.
class LidDancePanel final : public SettingsPanel {
    Q_OBJECT

public:
    explicit LidDancePanel(AppModel &app, QWidget *parent = nullptr);

    void sync();

private:
    AppModel &m_app;
    bool m_hasSensor;
    SwitchRow *m_toggle = nullptr;
    std::vector<std::pair<LidDanceStyle, ChipButton *>> m_chips;
    QLabel *m_angle = nullptr;
};

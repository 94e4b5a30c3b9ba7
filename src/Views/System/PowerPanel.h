#pragma once

#include "Effects/ChargingVisualStyle.h"
#include "Effects/SystemReactionEvent.h"
#include "Views/Kit/SettingsPanel.h"

#include <utility>
#include <vector>

class AppModel;
class SelectableTile;
class SwitchRow;

// "Power": the battery-reactions switch, the charge, low-battery and full previews, and the
// charging look, whose chips store the look and show it at once.
class PowerPanel final : public SettingsPanel {
    Q_OBJECT

public:
    explicit PowerPanel(AppModel &app, QWidget *parent = nullptr);

    void sync();

private:
    // Plays the event as a real one would, unless battery reactions are off.
    void preview(const SystemReactionEvent &event);

    AppModel &m_app;
    SwitchRow *m_toggle = nullptr;
    QWidget *m_previews = nullptr;
    QWidget *m_looks = nullptr;
    std::vector<std::pair<ChargingVisualStyle, SelectableTile *>> m_chips;
};

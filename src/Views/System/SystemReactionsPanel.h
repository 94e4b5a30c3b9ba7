#pragma once

#include "Views/Kit/SettingsPanel.h"
#include "Views/System/SystemPageText.h"

#include <QColor>

#include <optional>

class AppModel;
class QLabel;
class SwitchRow;
class SymbolLabel;

// "System Reactions": the master switch and the battery row, which shows whatever the
// switch says: the charge with its symbol and colour, the power state and the last event.
class SystemReactionsPanel final : public SettingsPanel {
    Q_OBJECT

public:
    explicit SystemReactionsPanel(AppModel &app, QWidget *parent = nullptr);

    void sync();
    // The battery picture shown now; none without a battery.
    std::optional<SystemPageText::BatteryLook> batteryLook() const { return m_look; }

private:
    AppModel &m_app;
    SwitchRow *m_toggle = nullptr;
    SymbolLabel *m_noBattery = nullptr;
    QWidget *m_battery = nullptr;
    QLabel *m_batteryImage = nullptr;
    std::optional<SystemPageText::BatteryLook> m_look;
    QColor m_tint;
    QLabel *m_level = nullptr;
    QLabel *m_powerState = nullptr;
    QLabel *m_lastEvent = nullptr;
};

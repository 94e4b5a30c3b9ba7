#pragma once

#include "Views/Panel/PanelSection.h"

class PanelPackPicker;
class PanelSliderRow;
class SwitchRow;
class SymbolLabel;

// Typing, mouse and tap sounds: switches, the keyboard and reaction pack pickers, volumes,
// sensitivity and cooldown. The whole group rests while effects are paused; without an impact
// sensor only the tap switch does, with a note why.
class PanelSoundGroup final : public PanelSection {
    Q_OBJECT

public:
    explicit PanelSoundGroup(AppModel &app, QWidget *parent = nullptr);

    void sync() override;

private:
    QList<SwitchRow *> m_switches;
    QList<PanelSliderRow *> m_sliders;
    QList<PanelPackPicker *> m_pickers;
    SwitchRow *m_taps = nullptr;
    PanelSliderRow *m_mouseVolume = nullptr;
    SymbolLabel *m_noSensor = nullptr;
};

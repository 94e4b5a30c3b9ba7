#pragma once

#include "Views/Panel/PanelSection.h"

class ProminentButton;
class SwitchRow;
class SymbolButton;
class SymbolLabel;

// Pause or resume every effect, clear what is on screen, the paused note, and the pet and
// typing-HUD switches.
class PanelEffectControls final : public PanelSection {
    Q_OBJECT

public:
    explicit PanelEffectControls(AppModel &app, QWidget *parent = nullptr);

    void sync() override;

private:
    ProminentButton *m_pause = nullptr;
    ProminentButton *m_resume = nullptr;
    SymbolButton *m_reset = nullptr;
    SymbolLabel *m_pausedNote = nullptr;
    SwitchRow *m_pet = nullptr;
    SwitchRow *m_typingHud = nullptr;
};

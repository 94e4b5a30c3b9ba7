#pragma once

#include "Views/Pages/ControlPage.h"

class HandTonePicker;
class QLabel;
class QPushButton;
class SymbolLabel;
class ToyTileRow;
class VolumeControl;

// The Toys page: equip or put away a screen toy, why toys rest, the toy's status, input
// access, the hands' skin tone, the toy volume, and clearing what the toys left on screen.
class ToysPage final : public ControlPage {
    Q_OBJECT

public:
    ToysPage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync() override;

private:
    ToyTileRow *m_tiles = nullptr;
    QLabel *m_blocked = nullptr;
    SymbolLabel *m_status = nullptr;
    QLabel *m_exitHint = nullptr;
    QPushButton *m_inputAccess = nullptr;
    HandTonePicker *m_handTones = nullptr;
    VolumeControl *m_volume = nullptr;
    QPushButton *m_clearMarks = nullptr;
    QPushButton *m_stopToy = nullptr;
};

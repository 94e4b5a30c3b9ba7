#pragma once

#include "Views/Pages/ControlPage.h"

class PackImportBanner;
class PackLibraryGrid;
class QLabel;
class QProgressBar;
class QPushButton;
class SettingSlider;
class SettingsPanel;
class SwitchRow;
class VolumeControl;

// The Sounds page: typing statistics and the HUD, the key-switch sounds with their library,
// imports, folder and studio, and the click sounds.
class SoundsPage final : public ControlPage {
    Q_OBJECT

public:
    SoundsPage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync() override;

    PackLibraryGrid *typingGrid() const { return m_typingGrid; }
    PackLibraryGrid *clickGrid() const { return m_clickGrid; }
    QPushButton *importButton() const { return m_import; }
    QWidget *activityBlock() const { return m_activity; }

private:
    void buildActivity();
    void buildTypingSounds();
    void addPackButtons(SettingsPanel *panel);
    void addPlaybackTuning(SettingsPanel *panel);
    void buildMouse();

    QList<SwitchRow *> m_switches;
    QList<VolumeControl *> m_volumes;
    QList<SettingSlider *> m_sliders;
    QWidget *m_activity = nullptr;
    QLabel *m_keys = nullptr;
    QLabel *m_clicks = nullptr;
    QLabel *m_wordsPerMinute = nullptr;
    QProgressBar *m_levelBar = nullptr;
    QLabel *m_remaining = nullptr;
    PackLibraryGrid *m_typingGrid = nullptr;
    QLabel *m_keyboardError = nullptr;
    QPushButton *m_import = nullptr;
    PackImportBanner *m_banner = nullptr;
    PackLibraryGrid *m_clickGrid = nullptr;
    QLabel *m_mouseError = nullptr;
};

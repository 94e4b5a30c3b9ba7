#pragma once

#include "Views/Pages/ControlPage.h"

class MetricTile;
class PackImportBanner;
class PackLibraryGrid;
class QLabel;
class QPushButton;
class SettingSlider;
class SettingsPanel;
class SwitchRow;
class SymbolLabel;
class VolumeControl;

// The Reactions page: the tap sensor, the reaction library and its tuning, and this run's
// tap figures.
class ReactionsPage final : public ControlPage {
    Q_OBJECT

public:
    ReactionsPage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync() override;

    PackLibraryGrid *grid() const { return m_grid; }
    QPushButton *importButton() const { return m_import; }
    SwitchRow *reactionsSwitch() const { return m_enable; }
    SwitchRow *loudnessSwitch() const { return m_loudness; }
    SymbolLabel *sensorLine() const { return m_sensor; }
    QList<SettingSlider *> sliders() const { return {m_sensitivity, m_cooldown}; }
    QList<MetricTile *> tiles() const { return m_tiles; }

private:
    void buildReactions();
    void addTuning(SettingsPanel *panel);
    void buildSession();

    SymbolLabel *m_sensor = nullptr;
    SwitchRow *m_enable = nullptr;
    PackLibraryGrid *m_grid = nullptr;
    QLabel *m_error = nullptr;
    QPushButton *m_import = nullptr;
    PackImportBanner *m_banner = nullptr;
    SettingSlider *m_sensitivity = nullptr;
    SettingSlider *m_cooldown = nullptr;
    VolumeControl *m_volume = nullptr;
    SwitchRow *m_loudness = nullptr;
    QList<MetricTile *> m_tiles;
};

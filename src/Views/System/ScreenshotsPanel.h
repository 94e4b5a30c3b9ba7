#pragma once

#include "Views/Kit/SettingsPanel.h"

class AppModel;
class SwitchRow;
class SymbolLabel;

// "Screenshots": the flash switch, the watcher's line and "Preview Flash", which flashes
// whatever the switch says.
class ScreenshotsPanel final : public SettingsPanel {
    Q_OBJECT

public:
    explicit ScreenshotsPanel(AppModel &app, QWidget *parent = nullptr);

    void sync();

private:
    void previewFlash();

    AppModel &m_app;
    SwitchRow *m_toggle = nullptr;
    SymbolLabel *m_watcher = nullptr;
};

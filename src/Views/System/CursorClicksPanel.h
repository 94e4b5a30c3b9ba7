#pragma once

#include "Effects/CursorRippleStyle.h"
#include "Views/Kit/SettingsPanel.h"

#include <utility>
#include <vector>

class AppModel;
class SelectableTile;
class SwitchRow;

// "Cursor Clicks": the click-effect switch and the ripple style chips; choosing a style
// shows one ripple under the pointer even while the effect is off.
class CursorClicksPanel final : public SettingsPanel {
    Q_OBJECT

public:
    explicit CursorClicksPanel(AppModel &app, QWidget *parent = nullptr);

    void sync();

private:
    void choose(CursorRippleStyle style);

    AppModel &m_app;
    SwitchRow *m_toggle = nullptr;
    std::vector<std::pair<CursorRippleStyle, SelectableTile *>> m_chips;
};

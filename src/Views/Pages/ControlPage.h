#pragma once

#include "Views/Kit/PageScaffold.h"
#include "Models/SettingsPage.h"

class AppModel;
class SettingsViewState;

// One page of the control window. A page builds its sections once in its constructor and
// shows the services' current values in sync(), which the window calls (coalesced) after
// any change and whenever the page comes into view. sync() never writes a setting.
class ControlPage : public PageScaffold {
    Q_OBJECT

public:
    ControlPage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    virtual void sync() = 0;

protected:
    AppModel &app() const { return m_app; }
    // Page, drafts and expansions shared with the other pages; setPage() jumps to a page.
    SettingsViewState &state() const { return m_state; }
    // The accent of the stored theme, read afresh.
    QColor accent() const;
    // A page whose sections are not built yet shows its title.
    void addPlaceholderTitle(SettingsPage page);

private:
    AppModel &m_app;
    SettingsViewState &m_state;
};

#pragma once

#include "Views/Pages/ControlPage.h"

class AppGuardPanel;
class FocusLogPanel;
class FocusSessionCard;
class FocusSessionForm;
class FocusSetupsList;
class NotebookPanel;
class SettingsPanel;
class TasksPanel;
class WrapUpPanel;

// The Focus page: the running session or the form for the next one, the app guard, saved
// setups, today's notebook and tasks, the log, and the wrap-up of the session just ended.
class FocusPage final : public ControlPage {
    Q_OBJECT

public:
    FocusPage(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync() override;

protected:
    // Each time the page comes on screen the notebook drafts may take today's stored page.
    void showEvent(QShowEvent *event) override;

private:
    FocusSessionCard *m_card = nullptr;
    SettingsPanel *m_formPanel = nullptr;
    FocusSessionForm *m_form = nullptr;
    AppGuardPanel *m_guard = nullptr;
    SettingsPanel *m_setupsPanel = nullptr;
    FocusSetupsList *m_setups = nullptr;
    NotebookPanel *m_notebook = nullptr;
    TasksPanel *m_tasks = nullptr;
    FocusLogPanel *m_log = nullptr;
    SettingsPanel *m_wrapUpPanel = nullptr;
    WrapUpPanel *m_wrapUp = nullptr;
};

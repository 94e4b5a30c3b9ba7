#pragma once

#include <QWidget>

class AppModel;
class KeyedRows;
class QLabel;
class QLineEdit;
class QPushButton;
class SettingsViewState;

// The task list: add a step, tick it, star it as one of today's three, focus on it, remove it.
class TasksPanel final : public QWidget {
    Q_OBJECT

public:
    TasksPanel(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync();

private:
    void addTask();

    AppModel &m_app;
    SettingsViewState &m_state;
    QLineEdit *m_field = nullptr;
    QPushButton *m_add = nullptr;
    QLabel *m_empty = nullptr;
    KeyedRows *m_rows = nullptr;
};

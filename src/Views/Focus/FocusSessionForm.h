#pragma once

#include <QList>
#include <QWidget>

class AppModel;
class ProminentButton;
class QLineEdit;
class QPushButton;
class SwitchRow;

// The form that prepares the next session: goal, length preset, nudges and pet switches,
// saving it as a setup, and the start button. Every control writes its setting at once.
class FocusSessionForm final : public QWidget {
    Q_OBJECT

public:
    static constexpr int presets[] = {15, 25, 50, 90};

    explicit FocusSessionForm(AppModel &app, QWidget *parent = nullptr);

    void sync(const QColor &accent);

private:
    AppModel &m_app;
    QLineEdit *m_goal = nullptr;
    QList<ProminentButton *> m_presets;
    SwitchRow *m_nudges = nullptr;
    SwitchRow *m_pet = nullptr;
    QPushButton *m_save = nullptr;
    ProminentButton *m_start = nullptr;
};

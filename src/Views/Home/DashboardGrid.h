#pragma once

#include <QWidget>

#include <optional>

class AppModel;
class DashboardCard;
class SettingsViewState;

// The four feature cards of the Home page, two to a row: each shows its feature's state,
// jumps to its page or switches it on, and three of them carry the feature's switch.
class DashboardGrid final : public QWidget {
    Q_OBJECT

public:
    DashboardGrid(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync(const QColor &accent);

private:
    std::optional<QString> selectedKeyboardPackName() const;

    AppModel &m_app;
    DashboardCard *m_pet = nullptr;
    DashboardCard *m_focus = nullptr;
    DashboardCard *m_typing = nullptr;
    DashboardCard *m_system = nullptr;
};

#pragma once

#include "Views/Kit/KitStyle.h"

#include <QWidget>

class AppModel;
class KeyedRows;
class ProminentButton;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class SettingsViewState;
class SymbolLabel;

// The card of a running session: countdown, goal, status, the application in front, today's
// priorities, a quick progress note, and pause/resume and end.
class FocusSessionCard final : public QWidget {
    Q_OBJECT

public:
    struct StatusLook {
        QString symbol;
        ColorRole color;
        friend bool operator==(const StatusLook &, const StatusLook &) = default;
    };
    // Paused wins over a drifting status, which wins over the calm one.
    static StatusLook statusLook(bool paused, const QString &statusText);

    FocusSessionCard(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync(const QColor &accent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void buildPriorities();
    QHBoxLayout *buildNoteRow();
    QHBoxLayout *buildControls();
    void logCheckIn();
    void refreshLogEnabled();
    QLabel *secondaryLabel(FontRole role, QWidget *parent, std::optional<QFont::Weight> weight = std::nullopt);
    // The role's colour made readable on the card's own tint, which lies over the page.
    QColor ink(ColorRole role) const;

    AppModel &m_app;
    SettingsViewState &m_state;
    QColor m_accent;
    QLabel *m_countdown = nullptr;
    QLabel *m_goal = nullptr;
    SymbolLabel *m_status = nullptr;
    QLabel *m_currentApp = nullptr;
    QWidget *m_priorities = nullptr;
    QLabel *m_priorityCount = nullptr;
    QList<QLabel *> m_secondaryLabels;
    KeyedRows *m_priorityRows = nullptr;
    QLineEdit *m_note = nullptr;
    QPushButton *m_log = nullptr;
    ProminentButton *m_pause = nullptr;
    ProminentButton *m_resume = nullptr;
    QPushButton *m_end = nullptr;
};

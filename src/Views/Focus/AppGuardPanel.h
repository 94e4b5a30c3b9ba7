#pragma once

#include "Focus/FocusAppOption.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class AppModel;
class Disclosure;
class KeyedRows;
class QLabel;
class QPushButton;
class SettingsViewState;

// The on-task applications of focus sessions: the one used before our window came forward,
// a grid of the open ones to toggle, the allowed ones that are not open, and the count.
class AppGuardPanel final : public QWidget {
    Q_OBJECT

public:
    AppGuardPanel(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync(const QColor &accent);

private:
    // Looking up installed applications reads the desktop's files: done again only when the
    // allowed list or what it is compared with changes.
    const QList<FocusAppOption> &unavailableAllowedApplications(const QStringList &allowed);

    AppModel &m_app;
    SettingsViewState &m_state;
    QPushButton *m_allowRecent = nullptr;
    Disclosure *m_choices = nullptr;
    KeyedRows *m_grid = nullptr;
    QLabel *m_noApps = nullptr;
    QLabel *m_unavailableHint = nullptr;
    KeyedRows *m_unavailableRows = nullptr;
    QLabel *m_count = nullptr;
    QStringList m_unavailableKey;
    QList<FocusAppOption> m_unavailable;
};

#pragma once

#include <QString>
#include <QWidget>

class AppModel;
class DraftEditor;
class ProminentButton;
class QLabel;
class QLineEdit;
class SettingsViewState;

// Today's intention and scratchpad, edited as drafts and stored by "Save page".
class NotebookPanel final : public QWidget {
    Q_OBJECT

public:
    NotebookPanel(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    // The page came on screen: the drafts take today's stored page, unless the user has
    // changed them since they were last loaded on the same day, so unsaved text survives
    // switching pages and closing the window.
    void pageAppeared();
    void sync(const QColor &accent);

private:
    void loadDrafts(const QString &intention, const QString &notes);

    AppModel &m_app;
    SettingsViewState &m_state;
    QLabel *m_priorityCount = nullptr;
    QLineEdit *m_intention = nullptr;
    DraftEditor *m_notes = nullptr;
    ProminentButton *m_save = nullptr;
};

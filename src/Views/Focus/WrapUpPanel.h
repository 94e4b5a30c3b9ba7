#pragma once

#include <QUuid>
#include <QWidget>

class AppModel;
class DraftEditor;
class ProminentButton;
class SettingsViewState;

// The prompt to reflect on the session that just ended; the reflection is saved to the
// record the panel was last shown for.
class WrapUpPanel final : public QWidget {
    Q_OBJECT

public:
    WrapUpPanel(AppModel &app, SettingsViewState &state, QWidget *parent = nullptr);

    void sync(const QUuid &recordID, const QColor &accent);

private:
    void refreshSaveEnabled();

    AppModel &m_app;
    SettingsViewState &m_state;
    DraftEditor *m_editor = nullptr;
    ProminentButton *m_save = nullptr;
    QUuid m_recordID;
};

#pragma once

#include "Views/Kit/SettingsPanel.h"

class AppModel;
class QLabel;
class SymbolLabel;

// "Private by Design": what Plinkly reads and keeps, whether input access is granted and how
// keys are captured, and three ways to mend missing access. Every button is always enabled.
class PrivacyPanel final : public SettingsPanel {
    Q_OBJECT

public:
    explicit PrivacyPanel(AppModel &app, QWidget *parent = nullptr);

    void sync();

private:
    AppModel &m_app;
    SymbolLabel *m_permission = nullptr;
    QLabel *m_captureMode = nullptr;
    QLabel *m_monitor = nullptr;
};

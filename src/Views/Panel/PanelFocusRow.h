#pragma once

#include "Views/Panel/PanelSection.h"

class QPushButton;
class SymbolLabel;

// A 25-minute focus session at one click, or the running session's countdown with pause,
// resume and end.
class PanelFocusRow final : public PanelSection {
    Q_OBJECT

public:
    explicit PanelFocusRow(AppModel &app, QWidget *parent = nullptr);

    void sync() override;
    QString countdownText() const;

private:
    QPushButton *m_start = nullptr;
    QWidget *m_session = nullptr;
    SymbolLabel *m_countdown = nullptr;
    QPushButton *m_pauseResume = nullptr;
    QPushButton *m_end = nullptr;
};

#pragma once

#include "Views/Panel/PanelSection.h"

class CardFrame;
class SymbolView;

// The panel's first row: the application's symbol and name, and a status dot whose colour
// and help text say whether effects are paused, input is heard, or access is missing.
class PanelHeader final : public PanelSection {
    Q_OBJECT

public:
    explicit PanelHeader(AppModel &app, QWidget *parent = nullptr);

    void sync() override;
    QColor statusColor() const { return m_statusColor; }
    QString statusHelp() const;

private:
    SymbolView *m_symbol = nullptr;
    QColor m_symbolTint;
    CardFrame *m_dot = nullptr;
    QColor m_statusColor;
};

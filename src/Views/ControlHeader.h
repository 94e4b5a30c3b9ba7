#pragma once

#include "Views/HeaderPills.h"

#include <QWidget>

class CardFrame;
class StatusPill;
class SymbolView;

// The control window's header: the app tile and name, then the effects and input pills.
class ControlHeader final : public QWidget {
    Q_OBJECT

public:
    explicit ControlHeader(QWidget *parent = nullptr);

    void setAccent(const QColor &accent);
    void setPills(const HeaderPills::Pill &effects, const HeaderPills::Pill &input);
    StatusPill *effectsPill() const { return m_effects; }
    StatusPill *inputPill() const { return m_input; }

private:
    CardFrame *m_tile = nullptr;
    SymbolView *m_icon = nullptr;
    StatusPill *m_effects = nullptr;
    StatusPill *m_input = nullptr;
    QColor m_accent;
};

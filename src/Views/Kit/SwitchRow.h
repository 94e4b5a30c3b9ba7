#pragma once

#include "Views/Kit/Bind.h"

class QLabel;
class SwitchToggle;

// A labelled switch: the title, then the switch at the row's end, bound to a setting.
// sync() shows the bound value without writing it.
class SwitchRow final : public QWidget {
    Q_OBJECT

public:
    SwitchRow(const QString &title, Binding<bool> value, QWidget *parent = nullptr);

    void sync();
    void setAccent(const QColor &accent);
    SwitchToggle *toggle() const { return m_toggle; }

private:
    Binding<bool> m_value;
    SwitchToggle *m_toggle = nullptr;
};

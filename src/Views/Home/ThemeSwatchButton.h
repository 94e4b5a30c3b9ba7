#pragma once

#include "Services/InterfaceTheme.h"

#include <QAbstractButton>

// One interface colour to choose: a 30 px circle shaded in the theme's accent over the
// theme's name, with a white checkmark on the circle while it is the selected theme. Its
// accessible name is the name followed by " interface color"; selection is its checked state,
// which clicks never change on their own.
class ThemeSwatchButton final : public QAbstractButton {
    Q_OBJECT

public:
    explicit ThemeSwatchButton(InterfaceTheme theme, QWidget *parent = nullptr);

    InterfaceTheme theme() const { return m_theme; }
    void setSelected(bool selected);
    bool isSelected() const { return isChecked(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void nextCheckState() override {}

private:
    InterfaceTheme m_theme;
};

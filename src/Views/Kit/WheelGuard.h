#pragma once

#include <QObject>

class QWidget;

// Lets a slider, picker or spin box take the mouse wheel only while it has keyboard focus
// (from a click or Tab); otherwise the wheel passes to the scrolling page or panel around it,
// so scrolling past a control never changes a setting.
class WheelGuard final : public QObject {
    Q_OBJECT

public:
    // Guards `control` for as long as it lives; returns it for use in an expression.
    template <typename Control>
    static Control *guard(Control *control)
    {
        install(control);
        return control;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit WheelGuard(QWidget *control);
    static void install(QWidget *control);
};

#include "Views/Kit/WheelGuard.h"

#include <QEvent>
#include <QWidget>

WheelGuard::WheelGuard(QWidget *control)
    : QObject(control)
{
}

void WheelGuard::install(QWidget *control)
{
    // Click or Tab gives focus; the wheel never does.
    control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(new WheelGuard(control));
}

bool WheelGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel || static_cast<QWidget *>(watched)->hasFocus())
        return false;
    // Filtered but not accepted: the application hands the wheel on to the parent widgets.
    event->ignore();
    return true;
}

#include "Effects/ScreenToys/ScreenToyWhipHandle.h"

#include "Foundation/Clock.h"
#include "Foundation/ScreenGeometry.h"

#include <QMouseEvent>

#include <chrono>

ScreenToyWhipHandle::ScreenToyWhipHandle(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
                          | Qt::NoDropShadowWindowHint | Qt::X11BypassWindowManagerHint)
{
    setWindowTitle(QStringLiteral("Plinkly whip handle"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    resize(side, side);
    setCursor(Qt::OpenHandCursor);
}

double ScreenToyWhipHandle::now()
{
    // Times are taken as the event reaches us: the X server's timestamps run on a clock of
    // their own.
    return uptimeSeconds(std::chrono::steady_clock::now());
}

QPointF ScreenToyWhipHandle::globalPoint(const QMouseEvent *event)
{
    return ScreenGeometry::fromQt(event->globalPosition(), ScreenGeometry::primaryScreenHeight());
}

void ScreenToyWhipHandle::mousePressEvent(QMouseEvent *event)
{
    if (onBegin)
        onBegin(globalPoint(event), now());
}

void ScreenToyWhipHandle::mouseMoveEvent(QMouseEvent *event)
{
    if (onDrag && (event->buttons() & Qt::LeftButton))
        onDrag(globalPoint(event), now());
}

void ScreenToyWhipHandle::mouseReleaseEvent(QMouseEvent *)
{
    if (onEnd)
        onEnd();
}

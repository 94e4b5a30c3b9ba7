#include "Effects/ScreenToys/ScreenToyWhipHandle.h"

#include "Foundation/Clock.h"
#include "Foundation/ScreenGeometry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

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

QRectF ScreenToyWhipHandle::gripRect(const QRectF &bounds)
{
    return QRectF(bounds.center().x() - 1, bounds.center().y() - 8, 25, 16);
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

void ScreenToyWhipHandle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(0, height());
    painter.scale(1, -1);
    const QRectF grip = gripRect(QRectF(0, 0, width(), height()));

    // A soft shadow below the grip, offset 2 pt down.
    for (int ring = 4; ring >= 1; --ring) {
        QPainterPath shadow;
        shadow.addRoundedRect(grip.translated(0, -2).adjusted(-ring, -ring, ring, ring), 3 + ring, 3 + ring);
        painter.fillPath(shadow, QColor::fromRgbF(0, 0, 0, 0.38f / 6));
    }
    QPainterPath body;
    body.addRoundedRect(grip, 3, 3);
    painter.fillPath(body, QColor::fromRgbF(0.12f, 0.075f, 0.06f, 0.98f));

    painter.setPen(QPen(QColor::fromRgbF(0.49f, 0.31f, 0.21f, 0.8f), 0.8));
    for (double x = grip.left() + 3; x <= grip.right() - 2; x += 3)
        painter.drawLine(QPointF(x, grip.top() + 1), QPointF(x + 3, grip.bottom() - 1));

    QPainterPath cap;
    cap.addRoundedRect(QRectF(grip.left() - 3, grip.top() - 1, 6, grip.height() + 2), 1, 1);
    painter.fillPath(cap, QColor::fromRgbF(0.28f, 0.24f, 0.20f, 1));

    painter.setPen(QPen(QColor::fromRgbF(0.58f, 0.58f, 0.58f, 0.65f), 0.8));
    painter.drawLine(QPointF(grip.left() - 2, grip.bottom() + 0.2), QPointF(grip.left() + 2, grip.bottom() + 0.2));
}

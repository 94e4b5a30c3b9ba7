#include "Foundation/ScreenGeometry.h"

#include <QGuiApplication>
#include <QScreen>

QPointF ScreenGeometry::toQt(QPointF p, qreal primaryHeight)
{
    return {p.x(), primaryHeight - p.y()};
}

QPointF ScreenGeometry::fromQt(QPointF p, qreal primaryHeight)
{
    return {p.x(), primaryHeight - p.y()};
}

QRectF ScreenGeometry::toQt(const QRectF &r, qreal primaryHeight)
{
    return {r.x(), primaryHeight - r.y() - r.height(), r.width(), r.height()};
}

QRectF ScreenGeometry::fromQt(const QRectF &r, qreal primaryHeight)
{
    return {r.x(), primaryHeight - r.y() - r.height(), r.width(), r.height()};
}

qreal ScreenGeometry::primaryScreenHeight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

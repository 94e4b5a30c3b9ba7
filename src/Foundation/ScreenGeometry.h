#pragma once

#include <QPointF>
#include <QRectF>

// Models work in global coordinates whose y grows upwards from the bottom-left corner of
// the primary screen; Qt's y grows downwards from its top-left corner. This is the one
// place that converts between them, given the primary screen's height.
namespace ScreenGeometry {
QPointF toQt(QPointF yUpPoint, qreal primaryHeight);
QPointF fromQt(QPointF qtPoint, qreal primaryHeight);
QRectF toQt(const QRectF &yUpRect, qreal primaryHeight);
QRectF fromQt(const QRectF &qtRect, qreal primaryHeight);
// The primary screen's height as the conversion needs it (0 without a screen).
qreal primaryScreenHeight();
}

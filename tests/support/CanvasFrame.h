#pragma once

#include "Effects/ScreenToys/ScreenToyCanvasPainter.h"

#include <QImage>
#include <QPainter>

// One frame of a display's canvas drawn whole, as the canvas paints it (y up, 0 at the
// display's bottom), into an image of the display's size.
inline QImage paintedCanvas(const ScreenToyScene &scene, const QRectF &screenFrame, ScreenToyPictureCache &pictures)
{
    QImage canvas(screenFrame.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.translate(0, canvas.height());
    painter.scale(1, -1);
    ScreenToyCanvasPainter::paint(painter, scene, screenFrame, pictures);
    return canvas;
}

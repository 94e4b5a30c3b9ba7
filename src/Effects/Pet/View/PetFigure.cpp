#include "Effects/Pet/View/PetFigure.h"

#include <QPainter>
#include <QPainterPath>

namespace PetFigure {

void paint(QPainter &painter, const PetFigureState &state)
{
    painter.save();
    // The drawing faces left; a pet facing right is its mirror image.
    if (state.facingDirection < 0) {
        painter.translate(82, 0);
        painter.scale(-1, 1);
    }
    painter.setPen(QPen(QColor(70, 90, 130), 1.5));
    painter.setBrush(QColor(244, 236, 220));
    QPainterPath body;
    body.addEllipse(QRectF(10, 22, 62, 44));
    painter.drawPath(body);
    painter.drawEllipse(QRectF(52, 12, 16, 18));

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 36, 52));
    const QPointF eye = QPointF(26, 38) + state.gaze * 0.5;
    if (state.blinking || state.mood == PetMood::sleeping)
        painter.drawRect(QRectF(eye.x() - 3, eye.y(), 6, 1.5));
    else
        painter.drawEllipse(eye, 3, 3.5);
    painter.restore();
}
}

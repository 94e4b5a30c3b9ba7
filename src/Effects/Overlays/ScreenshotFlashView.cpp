#include "Effects/Overlays/ScreenshotFlashView.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

ScreenshotFlashView::ScreenshotFlashView(Blending blending, QWidget *parent) : OverlayPanel(blending, parent) {}

void ScreenshotFlashView::paintFrame(QPainter &painter, double elapsedSeconds)
{
    // A fast rise and a gentle fall, like a camera's flash.
    constexpr double peakSeconds = 0.05;
    const double strength = elapsedSeconds < peakSeconds
        ? elapsedSeconds / peakSeconds
        : std::pow(std::clamp(1 - (elapsedSeconds - peakSeconds) / (lifetimeSeconds - peakSeconds), 0.0, 1.0), 2);
    if (strength <= 0)
        return;
    // The veil stays faint enough that a shaped (uncomposited) panel leaves it out and keeps
    // only the bright rim.
    painter.fillRect(rect(), QColor(255, 255, 255, int(110 * strength)));
    const int rim = 6;
    QPen pen(QColor(255, 255, 255, int(255 * strength)), rim);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(rim / 2.0, rim / 2.0, -rim / 2.0, -rim / 2.0));
}

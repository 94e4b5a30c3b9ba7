#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace WindowPlacement {
// Moves a top-level window to the middle of the screen under the cursor.
void centerOnScreen(QWidget *window);
// Where a popup of `size` goes next to an anchor (a tray icon's rectangle, or the cursor as
// a zero-size rectangle) so that it stays inside `available`.
QPoint popupOrigin(const QRect &anchor, const QSize &size, const QRect &available);
}

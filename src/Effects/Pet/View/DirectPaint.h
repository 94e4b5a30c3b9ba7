#pragma once

#include <QRect>

#include <functional>

class QPainter;
class QWidget;

namespace DirectPaint {
// Paints `area` of `widget` (in its own coordinates) straight into its window's backing store,
// cleared as Qt clears it, and shows it at once. Qt's own repaint walks the widget tree, sets a
// painter up from the palette and goes through its repaint manager: most of the cost of a
// frame that moves a small picture. Returns false, painting nothing, while the window cannot
// take it (hidden, not exposed or not yet laid out); the caller then repaints as usual.
bool paint(QWidget &widget, const QRect &area, const std::function<void(QPainter &)> &draw);
// Moves what `area` of `widget` shows by `delta` within its window's backing store and shows it:
// on X the display server copies the pixels it already holds, without a round trip. What the
// area leaves behind keeps its pixels. Returns false, changing nothing, when it cannot.
bool scroll(QWidget &widget, const QRect &area, QPoint delta);
}

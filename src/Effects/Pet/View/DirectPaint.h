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
}

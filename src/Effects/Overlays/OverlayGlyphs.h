#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// The small line drawings of the reaction cards, each fitted into a square.
namespace OverlayGlyphs {
enum class Glyph { bolt, battery, plug, moon, sun, box, drive, display };

// `level` is the battery's fill (0...1) and the weight of a box (number of dots, 1...3).
void draw(QPainter &painter, Glyph glyph, const QRectF &square, const QColor &color, double level = 1.0);

// The colour at an opacity kept within 0...1.
QColor withAlpha(QColor color, double alpha);

// The dark rounded card every reaction sits on.
void drawCard(QPainter &painter, const QRectF &card, double opacity);
}

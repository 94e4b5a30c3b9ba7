#pragma once

#include <QMargins>
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
// The frame of a sheet over a window whose client area is `client`: a window of `wanted`
// client size with the decoration `frame` around it, shrunk to fit inside `client` and centred
// there, so it never covers the window's title bar or reaches past its sides.
QRect sheetFrame(const QRect &client, const QMargins &frame, const QSize &wanted);
// Places `sheet` (a top-level window) by sheetFrame over `parent`'s client area, taking the
// parent's decoration as the sheet's.
void placeSheet(QWidget *sheet, const QWidget *parent);
}

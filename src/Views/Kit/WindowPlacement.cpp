#include "Views/Kit/WindowPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

void WindowPlacement::centerOnScreen(QWidget *window)
{
    QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    window->move(available.center() - QPoint(window->width() / 2, window->height() / 2));
}

QPoint WindowPlacement::popupOrigin(const QRect &anchor, const QSize &size, const QRect &available)
{
    // Below the anchor when there is room (a panel at the top), above it otherwise.
    int y = anchor.bottom() + 1;
    if (y + size.height() > available.bottom() + 1)
        y = anchor.top() - size.height();
    int x = anchor.center().x() - size.width() / 2;
    x = std::clamp(x, available.left(), std::max(available.left(), available.right() + 1 - size.width()));
    y = std::clamp(y, available.top(), std::max(available.top(), available.bottom() + 1 - size.height()));
    return {x, y};
}

QRect WindowPlacement::sheetFrame(const QRect &client, const QMargins &frame, const QSize &wanted)
{
    const QSize framed = wanted.grownBy(frame).boundedTo(client.size());
    const QSize spare = client.size() - framed;
    return {client.topLeft() + QPoint(spare.width() / 2, spare.height() / 2), framed};
}

void WindowPlacement::placeSheet(QWidget *sheet, const QWidget *parent)
{
    const QWidget *window = parent->window();
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    const QRect placed = sheetFrame(inner, frame, sheet->sizeHint());
    sheet->resize(placed.size().shrunkBy(frame));
    sheet->move(placed.topLeft());
}

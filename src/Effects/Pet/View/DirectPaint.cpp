#include "Effects/Pet/View/DirectPaint.h"

#include <QBackingStore>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace {
// The window's backing store when it can take a direct change now, with the widget's place in it.
QBackingStore *readyStore(QWidget &widget, QPoint &offset)
{
    QWidget *window = widget.window();
    QWindow *handle = window->windowHandle();
    QBackingStore *store = widget.backingStore();
    if (!widget.isVisible() || !store || !handle || !handle->isExposed() || store->size() != window->size())
        return nullptr;
    offset = widget.mapTo(window, QPoint());
    return store;
}
}

bool DirectPaint::paint(QWidget &widget, const QRect &area, const std::function<void(QPainter &)> &draw)
{
    QPoint offset;
    QBackingStore *store = readyStore(widget, offset);
    if (!store)
        return false;
    const QRegion region = QRegion(area.translated(offset)) & QRect(offset, widget.size());
    if (region.isEmpty())
        return true;
    store->beginPaint(region);
    {
        QPainter painter(store->paintDevice());
        // Only the area was cleared: drawing beyond it would lay translucent edges over themselves.
        painter.setClipRegion(region);
        painter.translate(offset);
        draw(painter);
    }
    store->endPaint();
    store->flush(region, widget.window()->windowHandle());
    return true;
}

bool DirectPaint::scroll(QWidget &widget, const QRect &area, QPoint delta)
{
    QPoint offset;
    QBackingStore *store = readyStore(widget, offset);
    const QRect from = area.translated(offset);
    const QRect inside(offset, widget.size());
    if (!store || !inside.contains(from) || !inside.contains(from.translated(delta))
        || !store->scroll(from, delta.x(), delta.y()))
        return false;
    store->flush(QRegion(from) | from.translated(delta), widget.window()->windowHandle());
    return true;
}

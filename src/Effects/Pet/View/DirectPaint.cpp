#include "Effects/Pet/View/DirectPaint.h"

#include <QBackingStore>
#include <QPainter>
#include <QWidget>
#include <QWindow>

bool DirectPaint::paint(QWidget &widget, const QRect &area, const std::function<void(QPainter &)> &draw)
{
    QWidget *window = widget.window();
    QWindow *handle = window->windowHandle();
    QBackingStore *store = widget.backingStore();
    if (!widget.isVisible() || !store || !handle || !handle->isExposed() || store->size() != window->size())
        return false;
    const QPoint offset = widget.mapTo(window, QPoint());
    const QRegion region = QRegion(area.translated(offset)) & QRect(offset, widget.size()) & window->rect();
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
    store->flush(region, handle);
    return true;
}

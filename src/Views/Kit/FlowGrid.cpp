#include "Views/Kit/FlowGrid.h"

#include <QWidget>

#include <algorithm>

FlowGrid::FlowGrid(int minimumColumnWidth, int columnSpacing, int rowSpacing, QWidget *parent)
    : QLayout(parent)
    , m_minimumColumnWidth(std::max(1, minimumColumnWidth))
    , m_columnSpacing(columnSpacing)
    , m_rowSpacing(rowSpacing)
{
    setContentsMargins(0, 0, 0, 0);
}

FlowGrid::~FlowGrid()
{
    while (QLayoutItem *item = takeAt(0))
        delete item;
}

int FlowGrid::columnsFor(int width) const
{
    return std::max(1, (width + m_columnSpacing) / (m_minimumColumnWidth + m_columnSpacing));
}

int FlowGrid::columnsFor(int width, qsizetype itemCount) const
{
    const int fitting = columnsFor(width);
    if (itemCount == 0)
        return fitting;
    if (m_fewItems == FewItems::widen && itemCount < fitting)
        return int(itemCount);
    if (m_rows == Rows::filled)
        return fitting;
    const int count = int(itemCount);
    const int rows = (count + fitting - 1) / fitting;
    return (count + rows - 1) / rows;
}

void FlowGrid::addItem(QLayoutItem *item)
{
    m_items.append(item);
}

int FlowGrid::count() const
{
    return int(m_items.size());
}

QLayoutItem *FlowGrid::itemAt(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items[index] : nullptr;
}

QLayoutItem *FlowGrid::takeAt(int index)
{
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

Qt::Orientations FlowGrid::expandingDirections() const
{
    return Qt::Horizontal;
}

int FlowGrid::heightForWidth(int width) const
{
    return arrange(QRect(0, 0, width, 0), false);
}

QSize FlowGrid::minimumSize() const
{
    QSize size;
    for (const QLayoutItem *item : m_items)
        size = size.expandedTo(item->minimumSize());
    const QMargins margins = contentsMargins();
    return size.grownBy(margins);
}

QSize FlowGrid::sizeHint() const
{
    const int width = m_minimumColumnWidth * 2 + m_columnSpacing;
    return {width, heightForWidth(width)};
}

void FlowGrid::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowGrid::arrange(const QRect &rect, bool apply) const
{
    const QRect area = rect.marginsRemoved(contentsMargins());
    QList<QLayoutItem *> visible;
    for (QLayoutItem *item : m_items) {
        if (!item->isEmpty())
            visible.append(item);
    }
    const int columns = columnsFor(area.width(), visible.size());
    const int columnWidth = std::max(0, (area.width() - (columns - 1) * m_columnSpacing) / columns);
    int y = area.top();
    for (qsizetype rowStart = 0; rowStart < visible.size(); rowStart += columns) {
        const qsizetype rowEnd = std::min(visible.size(), rowStart + columns);
        int rowHeight = 0;
        for (qsizetype index = rowStart; index < rowEnd; ++index) {
            QLayoutItem *item = visible[index];
            const int height = item->hasHeightForWidth() ? item->heightForWidth(columnWidth) : item->sizeHint().height();
            rowHeight = std::max(rowHeight, height);
        }
        if (apply) {
            for (qsizetype index = rowStart; index < rowEnd; ++index) {
                const int column = int(index - rowStart);
                visible[index]->setGeometry(
                    QRect(area.left() + column * (columnWidth + m_columnSpacing), y, columnWidth, rowHeight));
            }
        }
        y += rowHeight + m_rowSpacing;
    }
    if (!visible.isEmpty())
        y -= m_rowSpacing;
    const QMargins margins = contentsMargins();
    return y - area.top() + margins.top() + margins.bottom();
}

#include "Foundation/ClearPlace.h"

#include <QLineF>

#include <algorithm>
#include <vector>

std::optional<QPointF> ClearPlace::nearest(QRectF frame, std::span<const QRectF> windows, QRectF area, double margin)
{
    std::vector<QRectF> keepOut;
    keepOut.reserve(windows.size());
    for (const QRectF &window : windows)
        keepOut.push_back(window.adjusted(-margin, -margin, margin, margin));
    const auto isClear = [&keepOut](const QRectF &place) {
        return std::none_of(keepOut.begin(), keepOut.end(), [&place](const QRectF &out) { return place.intersects(out); });
    };
    if (isClear(frame))
        return frame.topLeft();

    // A free place, slid left and then down as far as it goes, ends against the area's edge or
    // a window's far side: those sides, with the frame's own place, are all the candidates.
    const QSizeF size = frame.size();
    const double x = std::max(area.left(), std::min(frame.left(), area.right() - size.width()));
    const double y = std::max(area.top(), std::min(frame.top(), area.bottom() - size.height()));
    std::vector<double> xs{x, area.left(), area.right() - size.width()};
    std::vector<double> ys{y, area.top(), area.bottom() - size.height()};
    for (const QRectF &out : keepOut) {
        xs.insert(xs.end(), {out.left() - size.width(), out.right()});
        ys.insert(ys.end(), {out.top() - size.height(), out.bottom()});
    }
    std::optional<QPointF> best;
    for (const double candidateX : xs) {
        for (const double candidateY : ys) {
            const QRectF moved(QPointF(candidateX, candidateY), size);
            const bool inside = moved.left() >= area.left() && moved.right() <= area.right()
                && moved.top() >= area.top() && moved.bottom() <= area.bottom();
            if (!inside || !isClear(moved))
                continue;
            if (!best || QLineF(frame.topLeft(), moved.topLeft()).length() < QLineF(frame.topLeft(), *best).length())
                best = moved.topLeft();
        }
    }
    return best;
}

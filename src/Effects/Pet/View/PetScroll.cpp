#include "Effects/Pet/View/PetScroll.h"

#include <QRegion>

std::optional<PetScroll> PetScroll::between(const QRect &shown, const QRect &now, const QRect &view)
{
    if (shown.size() != now.size())
        return std::nullopt;
    const QPoint delta = now.topLeft() - shown.topLeft();
    // The strip the picture uncovers is filled from the transparent pixels beyond its old edge.
    const QRect source = shown.united(shown.translated(-delta));
    const QRect from = source & view & view.translated(-delta);
    const QRect to = from.translated(delta);
    if (!to.contains(now & view))
        return std::nullopt;
    const QRegion left = QRegion(shown & view) - to;
    if (left.isEmpty())
        return PetScroll{{from, delta}, std::nullopt};
    // Where the strip beyond the old edge lies outside the view, what the picture left is blanked
    // from transparent pixels just beyond its new leading edge.
    const QRect strip = left.boundingRect();
    if (left.rectCount() != 1 || delta.x() != 0)
        return std::nullopt;
    const QRect blank(strip.left(), delta.y() < 0 ? now.top() - strip.height() : now.bottom() + 1, strip.width(),
                      strip.height());
    if (!view.contains(blank))
        return std::nullopt;
    return PetScroll{{from, delta}, Move{blank, strip.topLeft() - blank.topLeft()}};
}

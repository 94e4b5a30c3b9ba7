#include "Effects/Pet/View/PetScroll.h"

std::optional<PetScroll> PetScroll::between(const QRect &shown, const QRect &now, const QRect &view)
{
    if (shown.size() != now.size())
        return std::nullopt;
    const QPoint delta = now.topLeft() - shown.topLeft();
    // The strip the picture uncovers is filled from the transparent pixels beyond its old edge.
    const QRect source = shown.united(shown.translated(-delta));
    // Only what lands in the view is moved, and all of it must come from the view.
    const QRect from = source & view.translated(-delta);
    if (!view.contains(from))
        return std::nullopt;
    return PetScroll{from, delta};
}

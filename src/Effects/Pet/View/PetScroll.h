#pragma once

#include <QPoint>
#include <QRect>

#include <optional>

// A frame that shows the same picture moved by whole pixels, shown by moving the pixels the view
// already shows.
struct PetScroll {
    struct Move {
        QRect from;
        QPoint delta;
    };
    Move move;
    // Then transparent pixels laid over what the picture left at the view's edge, where the move
    // has nothing beyond the edge to fill it from.
    std::optional<Move> blank;

    // From where a picture on transparent pixels is shown to where it is now, in `view`; none
    // when some pixel the view must show now is not in the view to be moved (a picture reaching
    // past its edge) or the pictures differ in size.
    static std::optional<PetScroll> between(const QRect &shown, const QRect &now, const QRect &view);
};

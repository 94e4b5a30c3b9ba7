#pragma once

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRectF>
#include <QTransform>

#include <compare>
#include <functional>
#include <map>
#include <vector>

// Pictures of what only fades or slides on a canvas (cracked glass, wet smears, craters),
// drawn once in device pixels and then each frame only blitted with an opacity. A picture
// not drawn during a paint is forgotten at its end, so expired items free their memory.
class ScreenToyPictureCache {
public:
    // What a picture shows: a kind of item and the values that fix its look.
    struct Key {
        int kind = 0;
        double a = 0;
        double b = 0;
        double c = 0;
        auto operator<=>(const Key &) const = default;
    };

    // Draws the picture of `key` with its origin at `at` (in the painter's coordinates) at
    // `opacity` times the painter's. On first use `draw` paints it around (0, 0) within `extent`.
    void draw(QPainter &painter, const Key &key, QPointF at, const QRectF &extent, double opacity,
              const std::function<void(QPainter &)> &draw);
    // The same for what may look different every frame (the aimed hands): a key new since the
    // last paint is drawn straight, and pictured only when the next paint asks for it again.
    void drawOnceStill(QPainter &painter, const Key &key, QPointF at, const QRectF &extent, double opacity,
                       const std::function<void(QPainter &)> &draw);
    // Forgets the pictures not drawn since the last call.
    void endPaint();

    int size() const { return int(m_pictures.size()); }

private:
    struct Picture {
        QImage image;
        QPoint offset;
        QTransform linear;
        // Where within its device pixel the origin fell when drawn, kept for a picture that
        // must show as drawn straight while it stays put; else none.
        QPointF phase;
        bool used = true;
    };
    void drawPicture(QPainter &painter, const Key &key, QPointF at, const QRectF &extent, double opacity,
                     const std::function<void(QPainter &)> &draw, bool keepPhase);

    std::map<Key, Picture> m_pictures;
    std::vector<Key> m_drawnStraight;
    std::vector<Key> m_drawnStraightBefore;
};

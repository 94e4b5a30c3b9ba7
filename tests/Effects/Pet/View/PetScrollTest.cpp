#include "Effects/Pet/View/PetScroll.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {
// A view showing a picture at `at` on transparent pixels: every picture pixel its own colour.
QImage viewWith(QSize view, const QRect &at)
{
    QImage image(view, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = at.top(); y <= at.bottom(); ++y)
        for (int x = at.left(); x <= at.right(); ++x)
            if (image.rect().contains(x, y))
                image.setPixel(x, y, qRgba(x - at.left(), y - at.top(), 200, 255));
    return image;
}
}

TEST(PetScroll, MovingTheShownPixelsShowsThePictureWhereItIsNow)
{
    const QRect view(0, 0, 170, 122);
    const QSize picture(82, 78);
    struct Case {
        QPoint shown, now;
        bool scrolls;
    };
    const Case cases[] = {
        {{44, 40}, {44, 41}, true},   // down, inside the view
        {{44, 40}, {44, 39}, true},   // up
        {{44, 40}, {46, 37}, true},   // a late frame, several pixels at once
        {{44, 44}, {44, 45}, true},   // down, past the bottom edge: what leaves is hidden anyway
        {{44, 44}, {44, 42}, true},   // up from the bottom edge: the rows it leaves are blanked
        {{44, 45}, {44, 44}, false},  // up from past the bottom: its hidden rows are not there to move
        {{44, 44}, {45, 43}, false},  // the same, sideways too
        {{-1, 40}, {0, 40}, false},   // off the left edge
    };
    for (const auto &[shown, now, scrolls] : cases) {
        const QRect from(shown, picture);
        const QRect to(now, picture);
        const auto scroll = PetScroll::between(from, to, view);
        ASSERT_EQ(scroll.has_value(), scrolls) << shown.x() << "," << shown.y() << " -> " << now.x() << "," << now.y();
        if (!scroll)
            continue;
        QImage shownImage = viewWith(view.size(), from);
        const auto move = [&](const PetScroll::Move &m) {
            const QImage moved = shownImage.copy(m.from);
            QPainter painter(&shownImage);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(m.from.topLeft() + m.delta, moved);
        };
        move(scroll->move);
        if (scroll->blank)
            move(*scroll->blank);
        EXPECT_TRUE(shownImage == viewWith(view.size(), to)) << now.x() << "," << now.y();
    }
    EXPECT_FALSE(PetScroll::between(QRect(0, 0, 10, 10), QRect(1, 0, 11, 10), view)) << "another picture";
}

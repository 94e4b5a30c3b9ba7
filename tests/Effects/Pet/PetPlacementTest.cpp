#include "Effects/Pet/PetPlacement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
const QRectF frame(100, 50, 1000, 700);
const QSizeF panel(200, 100);
}

TEST(PetPlacement, NormalizedClampsEachAxisToTheFreeRoom)
{
    struct Case {
        const char *name;
        QPointF origin;
        QRectF area;
        QSizeF panel;
        PetPlacement expected;
    };
    const Case cases[] = {
        {"bottom left", {100, 50}, frame, panel, {0, 0}},
        {"top right", {900, 650}, frame, panel, {1, 1}},
        {"middle", {500, 350}, frame, panel, {0.5, 0.5}},
        {"left of and below the area", {-300, -10}, frame, panel, {0, 0}},
        {"beyond the free room", {950, 2000}, frame, panel, {1, 1}},
        {"panel as wide as the area", {100, 50}, frame, {1000, 700}, {0, 0}},
        {"panel wider than the area", {100.5, 50}, frame, {1500, 900}, {0.5, 0}},
        {"non-finite origin", {notANumber, inf}, frame, panel, {1, 1}},
        {"non-finite area", {100, 50}, {notANumber, notANumber, notANumber, notANumber}, panel, {1, 0}},
    };
    for (const Case &c : cases) {
        const PetPlacement placement = PetPlacement::normalized(c.origin, c.area, c.panel);
        EXPECT_DOUBLE_EQ(placement.x, c.expected.x) << c.name;
        EXPECT_DOUBLE_EQ(placement.y, c.expected.y) << c.name;
    }
}

TEST(PetPlacement, OriginRoundTripsThroughNormalized)
{
    const PetPlacement placements[] = {{1, 0}, {0, 0}, {0, 1}, {0.25, 0.75}, {1, 1}};
    const QRectF areas[] = {frame, QRectF(-1920, 0, 1920, 1080), QRectF(0, 0, 201, 101)};
    for (const QRectF &area : areas) {
        for (const PetPlacement &placement : placements) {
            const QPointF origin = placement.origin(area, panel);
            const PetPlacement back = PetPlacement::normalized(origin, area, panel);
            EXPECT_NEAR(back.x, placement.x, 1e-12);
            EXPECT_NEAR(back.y, placement.y, 1e-12);
        }
    }
    EXPECT_EQ(PetPlacement().origin(frame, panel), QPointF(900, 50)) << "default is bottom right";
}

TEST(PetPlacement, OriginIsAlwaysFiniteAndInsideTheArea)
{
    struct Case {
        const char *name;
        PetPlacement placement;
        QRectF area;
        QPointF expected;
    };
    const Case cases[] = {
        {"non-finite x falls back to the default", {notANumber, 1}, frame, {900, 50}},
        {"infinite y falls back to the default", {0, -inf}, frame, {900, 50}},
        {"fractions outside 0...1 are clamped", {-2, 7}, frame, {100, 650}},
        {"panel larger than the area sits at its corner", {0.5, 0.5}, QRectF(0, 0, 100, 50), {0, 0}},
        {"non-finite area", {1, 1}, QRectF(notANumber, inf, inf, notANumber), {0, 0}},
    };
    for (const Case &c : cases) {
        const QPointF origin = c.placement.origin(c.area, panel);
        EXPECT_TRUE(std::isfinite(origin.x()) && std::isfinite(origin.y())) << c.name;
        EXPECT_EQ(origin, c.expected) << c.name;
    }
}

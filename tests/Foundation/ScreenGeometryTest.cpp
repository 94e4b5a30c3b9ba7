#include "Foundation/ScreenGeometry.h"

#include <gtest/gtest.h>

TEST(ScreenGeometry, FlipsAroundThePrimaryScreenAndRoundTrips)
{
    const qreal height = 1080;
    EXPECT_EQ(ScreenGeometry::toQt(QPointF(10, 0), height), QPointF(10, 1080));
    EXPECT_EQ(ScreenGeometry::toQt(QPointF(10, 1080), height), QPointF(10, 0));
    // A 100-high window whose bottom edge sits 20 points above the bottom of the screen.
    EXPECT_EQ(ScreenGeometry::toQt(QRectF(0, 20, 200, 100), height), QRectF(0, 960, 200, 100));
    // A screen above the primary one has negative Qt y.
    const QRectF above(0, 1080, 1920, 1200);
    EXPECT_EQ(ScreenGeometry::toQt(above, height), QRectF(0, -1200, 1920, 1200));
    EXPECT_EQ(ScreenGeometry::fromQt(ScreenGeometry::toQt(above, height), height), above);
}

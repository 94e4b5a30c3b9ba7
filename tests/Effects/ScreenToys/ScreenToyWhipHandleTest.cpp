#include "Effects/ScreenToys/ScreenToyWhipHandle.h"
#include "Foundation/ScreenGeometry.h"

#include <QTest>

#include <gtest/gtest.h>

TEST(ScreenToyWhipHandle, ReportsGlobalPoints)
{
    ScreenToyWhipHandle handle;
    const qreal primaryHeight = ScreenGeometry::primaryScreenHeight();
    handle.setGeometry(ScreenGeometry::toQt(QRectF(100, 200, 52, 52), primaryHeight).toRect());
    handle.show();
    QTest::mouseClick(&handle, Qt::LeftButton, {}, QPoint(26, 26)); // no callbacks: nothing

    std::vector<QPointF> points;
    int ends = 0;
    handle.onBegin = [&](QPointF point, double) { points.push_back(point); };
    handle.onDrag = [&](QPointF point, double) { points.push_back(point); };
    handle.onEnd = [&] { ++ends; };
    QTest::mousePress(&handle, Qt::LeftButton, {}, QPoint(26, 26));
    QTest::mouseMove(&handle, QPoint(30, 20));
    QTest::mouseRelease(&handle, Qt::LeftButton, {}, QPoint(30, 20));
    ASSERT_GE(points.size(), 1u);
    EXPECT_EQ(points.front(), QPointF(126, 226));
    EXPECT_EQ(ends, 1);
}

#include "Effects/Chaos/ChaosBackdrop.h"
#include "Effects/Chaos/MappedImage.h"

#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

namespace {
bool isMapped(const void *address)
{
    const long page = ::sysconf(_SC_PAGESIZE);
    unsigned char resident = 0;
    return ::mincore(reinterpret_cast<void *>(quintptr(address) / page * page), 1, &resident) == 0;
}

// Heap blocks start just after their header, never on a page boundary.
bool ownsItsMapping(const QImage &image)
{
    return quintptr(image.constBits()) % ::sysconf(_SC_PAGESIZE) == 0 && isMapped(image.constBits());
}

QImage columns(QSize size, int period)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, x % period == 0 ? 0xffffffff : 0xff000000);
    return image;
}
}

TEST(MappedImage, KeepsItsPixelsInAMappingThatGoesWithTheLastCopy)
{
    QImage image = MappedImage::make(QSize(300, 200), QImage::Format_ARGB32_Premultiplied);
    ASSERT_TRUE(ownsItsMapping(image));
    image.fill(0xff336699);
    const void *pixels = image.constBits();
    auto copy = std::make_unique<QImage>(image);
    image = QImage();
    EXPECT_EQ(copy->pixel(299, 199), 0xff336699);
    EXPECT_TRUE(isMapped(pixels));
    copy.reset();
    EXPECT_FALSE(isMapped(pixels));
}

// A shrink by four must average every source column (interpolating alone samples two of each
// four and misses the white one); transparent pixels must not tint their neighbours.
TEST(MappedImage, ScalesSmoothlyIntoItsOwnMapping)
{
    const QImage same = columns(QSize(40, 30), 3);
    EXPECT_EQ(MappedImage::smoothScaled(same, same.size()), same.convertToFormat(QImage::Format_ARGB32_Premultiplied));

    const QImage shrunk = MappedImage::smoothScaled(columns(QSize(64, 32), 4), QSize(16, 8));
    EXPECT_TRUE(ownsItsMapping(shrunk));
    for (const QPoint at : {QPoint(0, 0), QPoint(7, 3), QPoint(15, 7)})
        EXPECT_NEAR(qRed(shrunk.pixel(at)), 64, 2) << at.x() << "," << at.y();

    QImage mixed(64, 32, QImage::Format_ARGB32);
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 32; ++y)
            mixed.setPixel(x, y, x % 2 ? qRgba(0, 0, 255, 255) : qRgba(255, 0, 0, 0));
    const QColor blend = MappedImage::smoothScaled(mixed, QSize(8, 4)).pixelColor(3, 2);
    EXPECT_NEAR(blend.alpha(), 128, 2);
    EXPECT_EQ(blend.red(), 0);
    EXPECT_EQ(blend.blue(), 255);
}

TEST(ChaosBackdrop, LoadsPicturesByTheirContentWithinQtsAllocationLimit)
{
    QTemporaryDir folder;
    const QRectF screen(0, 0, 100, 60);
    const QString named = folder.filePath(QStringLiteral("named-wrongly.jpg"));
    ASSERT_TRUE(columns(QSize(400, 240), 2).save(named, "PNG"));
    const std::vector<ChaosBackdrop> backdrops = ChaosBackdrop::load(named, {{screen, screen}});
    ASSERT_EQ(backdrops.size(), 1u);
    EXPECT_EQ(backdrops[0].picture.size(), QSize(100, 60));
    EXPECT_TRUE(ownsItsMapping(backdrops[0].picture));

    const QString large = folder.filePath(QStringLiteral("large.png"));
    ASSERT_TRUE(columns(QSize(600, 600), 2).save(large, "PNG"));
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);
    EXPECT_TRUE(ChaosBackdrop::load(large, {{screen, screen}}).empty());
    QImageReader::setAllocationLimit(limit);
}

#include "App/TrayIconEngine.h"
#include "Foundation/ApplicationId.h"
#include "support/TestFolders.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

TEST(TrayIconEngine, DrawsTheSymbolicArtworkInTheInkItIsGiven)
{
    std::optional<QImage> firstShape;
    for (const QColor ink : {QColor(0x20, 0x24, 0x28), QColor(0xf0, 0xf0, 0xf0)}) {
        const QImage image = TrayIconEngine::icon(ink).pixmap(QSize(32, 32)).toImage().convertToFormat(
            QImage::Format_ARGB32);
        QImage shape(image.size(), QImage::Format_Alpha8);
        int covered = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                shape.setPixel(x, y, qAlpha(pixel));
                if (qAlpha(pixel) == 255) {
                    ++covered;
                    EXPECT_EQ(QColor(pixel).rgb(), ink.rgb()) << x << "," << y;
                }
            }
        }
        // The keycap and its waves, not an empty or a filled square.
        EXPECT_GT(covered, 32 * 32 / 8);
        EXPECT_LT(covered, 32 * 32 / 2);
        if (firstShape) {
            EXPECT_EQ(shape, *firstShape);
        }
        firstShape = shape;
    }
}

TEST(TrayIconEngine, OffersItsThemeNameOnlyWhenTheIconIsInstalled)
{
    TestFolder folder;
    const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", QFile::encodeName(folder.path()));
    EXPECT_TRUE(TrayIconEngine::icon(Qt::black).name().isEmpty());

    const QString name = applicationId + QStringLiteral("-symbolic");
    folder.write(QStringLiteral("icons/hicolor/symbolic/apps/%1.svg").arg(name), "<svg/>");
    EXPECT_EQ(TrayIconEngine::icon(Qt::black).name(), name);
    qputenv("XDG_DATA_DIRS", dataDirs);
}

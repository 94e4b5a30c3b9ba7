#include "Effects/ScreenToys/ScreenToyArtwork.h"
#include "Effects/ScreenToys/ScreenToyRecolouring.h"

#include <gtest/gtest.h>

namespace {
// An image of one premultiplied colour, square unless a width or height is given.
QImage filled(int side, QRgb premultiplied, int width = 0, int height = 0)
{
    QImage image(width > 0 ? width : side, height > 0 ? height : side, QImage::Format_RGBA8888_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto *pixel = reinterpret_cast<uchar *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x, pixel += 4) {
            pixel[0] = uchar(qRed(premultiplied));
            pixel[1] = uchar(qGreen(premultiplied));
            pixel[2] = uchar(qBlue(premultiplied));
            pixel[3] = uchar(qAlpha(premultiplied));
        }
    }
    return image;
}

int redAt(const QImage &image, int x, int y)
{
    return image.constScanLine(y)[4 * x];
}

constexpr QRgb fullSkin = qRgba(200, 150, 120, 255);
}

TEST(ScreenToyRecolouring, SkinStrength)
{
    struct Case {
        double red, green, blue, strength;
    };
    for (const Case c : {Case{0.8, 0.6, 0.5, 1.0}, Case{0.6, 0.55, 0.52, 0.25}, Case{0.5, 0.5, 0.5, 0.0},
                         Case{0.8, 0.5, 0.6, 0.0}, Case{0.5, 0.6, 0.3, 0.0}})
        EXPECT_NEAR(ScreenToyRecolouring::skinStrength(c.red, c.green, c.blue), c.strength, 1e-9)
            << c.red << " " << c.green << " " << c.blue;
}

TEST(ScreenToyRecolouring, TonesScaleSkinWithinItsAlpha)
{
    const QImage skin = filled(4, fullSkin);
    const auto deep = ScreenToyRecolouring::apply(ScreenToyHandTone::deep, skin, {});
    ASSERT_TRUE(deep);
    EXPECT_EQ(redAt(*deep, 1, 1), 78);
    EXPECT_EQ(deep->constScanLine(1)[4 + 3], 255) << "alpha stays";

    // Half-transparent skin made lighter: the red byte stops at its alpha.
    const auto light = ScreenToyRecolouring::apply(ScreenToyHandTone::light, filled(4, qRgba(125, 90, 70, 128)), {});
    ASSERT_TRUE(light);
    EXPECT_EQ(redAt(*light, 0, 0), 128);

    const auto grey = ScreenToyRecolouring::apply(ScreenToyHandTone::deep, filled(4, qRgba(120, 120, 120, 255)), {});
    EXPECT_EQ(redAt(*grey, 0, 0), 120);

    const QImage original = ScreenToyRecolouring::apply(ScreenToyHandTone::original, skin, {}).value();
    EXPECT_EQ(original.cacheKey(), skin.cacheKey()) << "the very same image";
}

TEST(ScreenToyRecolouring, ProtectedRegionsKeepTheirColour)
{
    struct Case {
        const char *name;
        ScreenToyKind kind;
        int side;
        int frames;
        QPoint untouched;
        QPoint recoloured;
        // Rows of arms below the frames' squares.
        int below = 0;
    };
    const Case cases[] = {
        {"water gun top half", ScreenToyKind::waterGun, 100, 1, QPoint(50, 49), QPoint(50, 50)},
        {"water gun with arms below", ScreenToyKind::waterGun, 100, 1, QPoint(50, 49), QPoint(50, 140), 50},
        {"blaster above a third, second frame", ScreenToyKind::blaster, 100, 2, QPoint(150, 32), QPoint(150, 34)},
        {"blaster with arms below, second frame", ScreenToyKind::blaster, 100, 2, QPoint(150, 32), QPoint(150, 34),
         50},
        {"ak47 stock", ScreenToyKind::ak47, 887, 1, QPoint(413, 772), QPoint(300, 250)},
        {"ak47 stock, second frame, rows below", ScreenToyKind::ak47, 887, 2, QPoint(887 + 413, 772),
         QPoint(887 + 300, 250), 400},
        {"grenade body strip", ScreenToyKind::grenade, 1254, 1, QPoint(800, 600), QPoint(376, 600)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QImage art = filled(c.side, fullSkin, c.side * c.frames, c.side + c.below);
        const auto tinted = ScreenToyRecolouring::apply(ScreenToyHandTone::deep, art, ScreenToyRecolouring::regions(c.kind),
                                                        c.frames);
        ASSERT_TRUE(tinted);
        EXPECT_EQ(redAt(*tinted, c.untouched.x(), c.untouched.y()), 200);
        EXPECT_EQ(redAt(*tinted, c.recoloured.x(), c.recoloured.y()), 78);
    }

    // Warm but not clearly skin (R − G under 0.07) on the grenade in the hand keeps its colour;
    // a highlight zone recolours it all the same.
    const QImage warm = filled(1254, qRgba(200, 190, 120, 255));
    const auto grenadeRegions = ScreenToyRecolouring::regions(ScreenToyKind::grenade);
    const auto grenade = ScreenToyRecolouring::apply(ScreenToyHandTone::deep, warm, grenadeRegions);
    EXPECT_EQ(redAt(*grenade, 400, 420), 200);
    const QPointF zone = grenadeRegions.skinHighlightRegions.front().center() * 1254;
    EXPECT_LT(redAt(*grenade, int(zone.x()), int(zone.y())), 200) << "centre of the first highlight zone";
}

TEST(ScreenToyRecolouring, EachKindAndToneIsRecolouredOnce)
{
    const QImage first = ScreenToyArtwork::artwork(ScreenToyKind::ak47, ScreenToyHandTone::tan);
    ASSERT_FALSE(first.isNull());
    EXPECT_NE(first.cacheKey(), ScreenToyArtwork::hands(ScreenToyKind::ak47).cacheKey());
    EXPECT_EQ(ScreenToyArtwork::artwork(ScreenToyKind::ak47, ScreenToyHandTone::tan).cacheKey(), first.cacheKey());
    EXPECT_EQ(ScreenToyArtwork::artwork(ScreenToyKind::ak47, ScreenToyHandTone::original).cacheKey(),
              ScreenToyArtwork::hands(ScreenToyKind::ak47).cacheKey());
    EXPECT_TRUE(ScreenToyArtwork::artwork(ScreenToyKind::whip, ScreenToyHandTone::tan).isNull());
}

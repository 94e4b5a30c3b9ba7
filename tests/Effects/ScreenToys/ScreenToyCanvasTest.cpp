#include "Effects/ScreenToys/ScreenToyCanvasPainter.h"
#include "Effects/ScreenToys/ScreenToyCanvasView.h"
#include "Effects/ScreenToys/ScreenToyGrenadePainter.h"
#include "Effects/ScreenToys/ScreenToyPOV.h"
#include "support/CanvasFrame.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
const QRectF display(0, 0, 1440, 900);

bool anyPainted(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

ScreenToyMark markAt(QPointF point, double time)
{
    return ScreenToyMark{ScreenToyKind::whip, point, time, std::nullopt};
}

// A display's canvas as the screen shows it: each frame repaints only its own damage and the
// previous frame's, and every other pixel keeps what was shown before.
class RepaintedCanvas {
public:
    explicit RepaintedCanvas(const QRectF &screenFrame)
        : m_screenFrame(screenFrame)
        , m_shown(screenFrame.size().toSize(), QImage::Format_ARGB32_Premultiplied)
    {
        m_shown.fill(Qt::transparent);
    }

    struct Faults {
        // Ink of the frame outside its own damage: the next frame may leave it behind.
        QRegion unclaimed;
        // Where what shows differs from the frame drawn whole: ink left behind or never drawn.
        QRegion wrong;
    };

    Faults show(const ScreenToyScene &scene)
    {
        const QRegion now = ScreenToyCanvasPainter::damage(scene, m_screenFrame);
        const QImage whole = paintedCanvas(scene, m_screenFrame, m_pictures);
        QPainter painter(&m_shown);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setClipRegion(now | m_drawn);
        painter.drawImage(0, 0, whole);
        painter.end();
        m_drawn = now;
        QImage claimed(whole.size(), QImage::Format_Grayscale8);
        claimed.fill(0);
        QPainter mask(&claimed);
        for (const QRect &area : now)
            mask.fillRect(area, Qt::white);
        mask.end();
        Faults faults;
        for (int y = 0; y < whole.height(); ++y) {
            const auto *shown = reinterpret_cast<const QRgb *>(m_shown.constScanLine(y));
            const auto *drawn = reinterpret_cast<const QRgb *>(whole.constScanLine(y));
            const uchar *inside = claimed.constScanLine(y);
            for (int x = 0; x < whole.width(); ++x) {
                if (shown[x] != drawn[x])
                    faults.wrong += QRect(x, y, 1, 1);
                if (qAlpha(drawn[x]) > 0 && inside[x] == 0)
                    faults.unclaimed += QRect(x, y, 1, 1);
            }
        }
        return faults;
    }

private:
    QRectF m_screenFrame;
    QImage m_shown;
    QRegion m_drawn;
    ScreenToyPictureCache m_pictures;
};

ScreenToyScene heldAt(ScreenToyKind kind, std::optional<QPointF> pointer, double time)
{
    ScreenToyScene scene;
    scene.toy = kind;
    scene.pointer = pointer;
    scene.displayTime = time;
    return scene;
}

// The whip's rope from the hand at `anchor`, trailing along `step` per joint.
ScreenToyScene whipFrom(QPointF anchor, QPointF step)
{
    ScreenToyScene scene;
    scene.toy = ScreenToyKind::whip;
    scene.displayTime = 10;
    for (int i = 0; i < 11; ++i)
        scene.whipPoints.push_back(anchor + step * i);
    return scene;
}
}

TEST(ScreenToyPOV, HandsSquareAndMuzzleOnTheLineToThePointer)
{
    EXPECT_NEAR(ScreenToyPOV::layout(display, QPointF(700, 500), ScreenToyKind::blaster).handsFrame.width(), 604.8, 1e-9);
    const ScreenToyPOVLayout wide = ScreenToyPOV::layout(QRectF(1440, 0, 2560, 1440), QPointF(2000, 900),
                                                         ScreenToyKind::blaster);
    EXPECT_EQ(wide.handsFrame, QRectF(970, 0, 620, 620));
    EXPECT_EQ(wide.localTarget, QPointF(560, 900));

    for (ScreenToyKind kind : {ScreenToyKind::blaster, ScreenToyKind::waterGun, ScreenToyKind::ak47}) {
        const QPointF target(200, 700);
        const ScreenToyPOVLayout layout = ScreenToyPOV::layout(display, target, kind);
        const QPointF toTarget = target - layout.pivot;
        const QPointF toMuzzle = layout.muzzle - layout.pivot;
        EXPECT_NEAR(toTarget.x() * toMuzzle.y() - toTarget.y() * toMuzzle.x(), 0, 1e-6) << rawValue(kind).toStdString();
        EXPECT_GT(QPointF::dotProduct(toTarget, toMuzzle), 0);
    }
    const ScreenToyPOVLayout straightUp = ScreenToyPOV::layout(display, QPointF(720, 800), ScreenToyKind::blaster);
    EXPECT_NEAR(straightUp.muzzle.x(), 720, 1e-9);
    EXPECT_NEAR(straightUp.muzzle.y(), 0.28 * 604.8 + 0.62 * 604.8, 1e-9);
}

TEST(ScreenToyCanvas, WhipCurveAndVisibility)
{
    std::vector<QPointF> joints;
    for (int i = 0; i < 11; ++i)
        joints.emplace_back(1000 - 24 * i, 500);
    const auto curve = ScreenToyCanvasPainter::whipCurve(joints, QRectF(100, 100, 1440, 900));
    ASSERT_EQ(curve.size(), 89u);
    EXPECT_EQ(curve.front(), QPointF(900, 400));
    EXPECT_EQ(curve.back(), QPointF(660, 400));
    EXPECT_EQ(ScreenToyCanvasPainter::whipCurve({QPointF(5, 5)}, display).size(), 1u);

    struct Case {
        QPointF point;
        double age;
        bool visible;
    };
    for (const Case c : {Case{QPointF(700, 400), 2.99, true}, Case{QPointF(700, 400), 3.0, false},
                         Case{QPointF(-40, 400), 1.0, true}, Case{QPointF(-60, 400), 1.0, false},
                         Case{QPointF(700, 940), 1.0, true}, Case{QPointF(700, 960), 1.0, false}})
        EXPECT_EQ(ScreenToyCanvasPainter::isMarkVisible(markAt(c.point, 10.0), 10.0 + c.age, display), c.visible)
            << c.point.x() << "," << c.point.y() << " " << c.age;

    const ScreenToyWetPatch patch{QPointF(0, 0), 0.0, 1, 2.0, 1.0};
    EXPECT_NEAR(ScreenToyCanvasPainter::wetPatchOpacity(patch, 5.0), 0.3125, 1e-9);
    EXPECT_NEAR(ScreenToyCanvasPainter::wetPatchOpacity(patch, 0.06), 0.5, 1e-9) << "fading in over 0.12 s";
    EXPECT_EQ(ScreenToyCanvasPainter::wetPatchOpacity(patch, 5.5), 0.0);
}

TEST(ScreenToyCanvas, GrenadeSizesFadesAndStillnessUnderReduceMotion)
{
    EXPECT_EQ(ScreenToyGrenadePainter::projectileSize(0), 98);
    EXPECT_EQ(ScreenToyGrenadePainter::projectileSize(0.65), 63);
    EXPECT_EQ(ScreenToyGrenadePainter::explosionFade(5.6), 1.0);
    EXPECT_NEAR(ScreenToyGrenadePainter::explosionFade(6.3), 0.5, 1e-9);
    EXPECT_EQ(ScreenToyGrenadePainter::explosionFade(7.0), 0.0);
    EXPECT_NEAR(ScreenToyGrenadePainter::projectileRotation(0.3, false), 3.6, 1e-9);
    EXPECT_EQ(ScreenToyGrenadePainter::projectileRotation(0.3, true), 0.0);
    EXPECT_NE(ScreenToyGrenadePainter::shakeOffset(0.01, false), 0.0);
    EXPECT_EQ(ScreenToyGrenadePainter::shakeOffset(0.01, true), 0.0);
    EXPECT_EQ(ScreenToyGrenadePainter::shakeOffset(0.28, false), 0.0);

    EXPECT_EQ(ScreenToyGrenadePainter::handRect(display, 0).size(), QSizeF(198, 330));
    EXPECT_EQ(ScreenToyGrenadePainter::craterSide(display), 480);
    ScreenToyScene scene;
    scene.grenades.push_back(ScreenToyGrenade{QPointF(0, 0), QPointF(500, 500), 10.0, false});
    scene.displayTime = 10.3;
    EXPECT_NEAR(ScreenToyGrenadePainter::throwSwing(scene), 1.0, 1e-9);
    EXPECT_NEAR(ScreenToyGrenadePainter::handRect(display, 1).top(), -135, 1e-9);
    scene.displayTime = 10.75;
    EXPECT_EQ(ScreenToyGrenadePainter::throwSwing(scene), 0.0);
}

TEST(ScreenToyCanvas, DrawsOnlyItsOwnDisplayAndRepaintsOnlyWhatChanged)
{
    ScreenToyCanvasView canvas(display, QRect(0, 0, 1440, 900));
    EXPECT_TRUE(canvas.testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(canvas.windowFlags().testFlag(Qt::WindowTransparentForInput));

    ScreenToyScene scene;
    scene.toy = ScreenToyKind::blaster;
    scene.pointer = QPointF(2000, 400); // on another display
    scene.marks.push_back(markAt(QPointF(100, 800), 1.0));
    scene.displayTime = 1.5;
    EXPECT_EQ(ScreenToyCanvasPainter::damage(scene, display).boundingRect(), QRect(0, 0, 250, 250))
        << "a whip mark near the top-left corner, and no hands";

    canvas.setScene(scene);
    const QImage image = canvas.render();
    EXPECT_TRUE(anyPainted(image, QRect(90, 90, 20, 20))) << "the mark, y flipped";
    const QRect handsArea(620, 700, 200, 200);
    EXPECT_FALSE(anyPainted(image, handsArea)) << "no hands without the pointer";

    scene.pointer = QPointF(720, 800);
    canvas.setScene(scene);
    EXPECT_TRUE(anyPainted(canvas.render(), handsArea));
}

// Frames painted with one picture cache, as a canvas paints them: a cached mark must still fade
// and slide nowhere, and what expired must leave the cache.
TEST(ScreenToyCanvasPainter, CachedPicturesFadeEachFrameAndLeaveWithTheirItems)
{
    ScreenToyScene scene;
    scene.toy = ScreenToyKind::whip;
    scene.marks.push_back(markAt(QPointF(300.4, 600.6), 1.0));
    ScreenToyWetPatch patch;
    patch.center = QPointF(900, 400);
    patch.createdAt = 1.0;
    patch.seed = 12345;
    scene.wetPatches.push_back(patch);
    scene.grenades.push_back({QPointF(700, 100), QPointF(1100, 700), 0.0, true});
    ScreenToyPictureCache pictures;
    const auto frame = [&](double time) {
        scene.displayTime = time;
        return paintedCanvas(scene, display, pictures);
    };
    const auto fresh = [&](double time) {
        ScreenToyPictureCache once;
        std::swap(once, pictures);
        const QImage image = frame(time);
        std::swap(once, pictures);
        return image;
    };
    frame(1.2);
    EXPECT_EQ(pictures.size(), 3) << "the mark, the smear and the crater";
    for (const double time : {1.5, 2.5, 3.5}) {
        const QImage cached = frame(time);
        const QImage drawnAnew = fresh(time);
        int worst = 0;
        for (int y = 0; y < cached.height(); y += 3)
            for (int x = 0; x < cached.width(); x += 3)
                worst = std::max(worst, std::abs(qAlpha(cached.pixel(x, y)) - qAlpha(drawnAnew.pixel(x, y))));
        EXPECT_LE(worst, 2) << "at " << time;
    }
    scene.marks.clear();
    scene.wetPatches.clear();
    scene.grenades.clear();
    frame(4.0);
    EXPECT_EQ(pictures.size(), 0);
}

TEST(ScreenToyCanvasPainter, FixedSizeImagesStayRightPastTheCachesBound)
{
    // Each image a colour of its own (and the left half of the last one another), each drawn
    // at sizes of its own: 108 entries, so the cache empties on the way and fills again.
    std::vector<QImage> images;
    for (int i = 0; i < 36; ++i) {
        QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(i * 7, 255 - i * 7, 128));
        images.push_back(image);
    }
    QImage split = images.back().copy();
    QPainter(&split).fillRect(0, 0, 4, 8, Qt::red);
    images.back() = split;

    const auto drawn = [](const QImage &image, int size, const QRectF &source = {}) {
        QImage canvas(40, 40, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        ScreenToyCanvasPainter::drawImageAtFixedSize(painter, QRectF(0, 0, size, size), image, source);
        painter.end();
        return canvas.pixelColor(size / 2, size / 2);
    };
    for (int round = 0; round < 2; ++round) {
        for (std::size_t i = 0; i + 1 < images.size(); ++i) {
            for (const int size : {10, 20, 30}) {
                EXPECT_EQ(drawn(images[i], size), images[i].pixelColor(0, 0)) << i << " at " << size;
            }
        }
    }
    // A part of an image is its own entry, not the whole image at that size.
    EXPECT_EQ(drawn(images.back(), 20, QRectF(0, 0, 4, 8)), QColor(Qt::red));
    EXPECT_EQ(drawn(images.back(), 20, QRectF(4, 0, 4, 8)), images.back().pixelColor(7, 0));
}

// The aimed hands cost a turned draw each frame; held still they are pictured once and then
// only blitted, and must look as drawn straight; a shot's kick moves the picture in whole
// pixels, and the sleeves must still reach the edge.
TEST(ScreenToyCanvasPainter, HandsHeldStillArePicturedOnceAndLookAsDrawnStraight)
{
    ScreenToyScene scene;
    scene.toy = ScreenToyKind::waterGun;
    scene.displayTime = 10;
    ScreenToyPictureCache pictures;
    const auto paint = [&](ScreenToyPictureCache &cache) { return paintedCanvas(scene, display, cache); };
    const auto worstAlphaStep = [&](const QImage &a, const QImage &b) {
        int worst = 0;
        for (int y = 0; y < a.height(); y += 2)
            for (int x = 0; x < a.width(); x += 2)
                worst = std::max(worst, std::abs(qAlpha(a.pixel(x, y)) - qAlpha(b.pixel(x, y))));
        return worst;
    };
    for (int step = 0; step < 3; ++step) {
        scene.pointer = QPointF(300 + 40 * step, 700);
        paint(pictures);
        EXPECT_EQ(pictures.size(), 0) << "no picture while the aim moves";
    }
    paint(pictures);
    EXPECT_EQ(pictures.size(), 1) << "pictured on the second paint at one aim";
    for (const double kick : {0.0, 0.02, 0.06}) {
        scene.marks = {{ScreenToyKind::waterGun, QPointF(-500, -500), 10 - kick,
                        ScreenToyShot{QPointF(0, 0), QPointF(-500, -500), 10 - kick, ScreenToyKind::waterGun}}};
        const QImage pictured = paint(pictures);
        EXPECT_EQ(pictures.size(), 1);
        ScreenToyPictureCache none;
        const QImage straight = paint(none);
        if (kick == 0) {
            EXPECT_LE(worstAlphaStep(pictured, straight), 2);
        }
        int picturedEdge = 0, straightEdge = 0;
        for (int x = 0; x < 1440; ++x) {
            picturedEdge += qAlpha(pictured.pixel(x, 899)) > 0;
            straightEdge += qAlpha(straight.pixel(x, 899)) > 0;
        }
        EXPECT_NEAR(picturedEdge, straightEdge, 2) << "the sleeves reach the edge at a kick of " << kick;
    }
}

TEST(ScreenToyCanvasPainter, ASleeveBendsAlongItsCurveFromTheWristToTheShoulder)
{
    // Leaving the wrist sideways and arriving at the shoulder from above: the middle of the sleeve
    // is pulled towards both turns, as a cubic curve through the four points is.
    ScreenToyCanvasPainter::Sleeve sleeve;
    sleeve.wrist = QPointF(0, 0);
    sleeve.direction = QPointF(1, 0);
    sleeve.shoulder = QPointF(0, -100);
    sleeve.width = 10;
    ScreenToyCanvasPainter::shapeSleeve(sleeve, 40, 30, 0);
    const QPolygonF &outline = sleeve.outline;
    ASSERT_EQ(outline.size(), 34);
    const std::vector<std::pair<int, QPointF>> along{{0, QPointF(0, 0)}, {4, QPointF(16.875, -11.40625)},
                                                     {8, QPointF(15, -38.75)}, {16, QPointF(0, -100)}};
    for (const auto &[step, expected] : along) {
        const QPointF middle = (outline[step] + outline[outline.size() - 1 - step]) / 2;
        EXPECT_NEAR(middle.x(), expected.x(), 0.01) << step;
        EXPECT_NEAR(middle.y(), expected.y(), 0.01) << step;
    }
}

// Frames shown one after another as a canvas shows them, repainting only what the painter says
// changed: from nothing, at a place, held still (then blitted from a picture), kicked by a shot,
// moved, and gone again. What shows must be each frame drawn whole, however close the ink
// comes to its repaint area: the antialiased rims of sleeves and cuffs at their widest, a
// hand at a display's edge, the kick, a second display away from the origin.
TEST(ScreenToyCanvasPainter, RepaintingOnlyTheDamageShowsEveryFrameWhole)
{
    struct Run {
        std::string name;
        QRectF screenFrame;
        std::vector<ScreenToyScene> frames;
    };
    std::vector<Run> runs;
    const QRectF second(1440, 120, 1280, 800);
    for (const ScreenToyKind kind : {ScreenToyKind::blaster, ScreenToyKind::ak47, ScreenToyKind::waterGun}) {
        // A shot whose kick is at its deepest at the frame's time, its mark off every display.
        const double peak = kind == ScreenToyKind::ak47 ? 0.0114 : 0.0216;
        for (const auto &[where, screenFrame, first, then] :
             {std::tuple{"left and up", display, QPointF(0.4, 450.3), QPointF(1439.6, 899.5)},
              std::tuple{"right and down", display, QPointF(1439.5, 0.5), QPointF(300.25, 120.75)},
              std::tuple{"up and over", display, QPointF(720.5, 899), QPointF(1100.3, 640.6)},
              std::tuple{"second display", second, QPointF(1441.2, 600.4), QPointF(2719, 121)}}) {
            ScreenToyScene kicked = heldAt(kind, first, 10);
            kicked.marks.push_back({kind, QPointF(-900, -900), 10 - peak,
                                    ScreenToyShot{QPointF(0, 0), QPointF(-900, -900), 10 - peak, kind}});
            runs.push_back({rawValue(kind).toStdString() + " " + where, screenFrame,
                            {heldAt(kind, std::nullopt, 9.9), heldAt(kind, first, 9.95), heldAt(kind, first, 9.98),
                             kicked, heldAt(kind, then, 10.1), heldAt(kind, then, 10.12),
                             heldAt(kind, std::nullopt, 10.2)}});
        }
    }
    for (const auto &[where, screenFrame, anchor, step] :
         {std::tuple{"whip low at the left edge", display, QPointF(6.5, 40.5), QPointF(24, 9)},
          std::tuple{"whip low at the right edge", display, QPointF(1433.4, 30.2), QPointF(-24, 12)},
          std::tuple{"whip in the middle", display, QPointF(720.3, 450.7), QPointF(-24, -3)},
          std::tuple{"whip at the top", display, QPointF(300.5, 880.5), QPointF(20, -15)},
          std::tuple{"whip on the second display", second, QPointF(1460.5, 150.5), QPointF(24, 20)}}) {
        ScreenToyScene none = whipFrom(anchor, step);
        none.whipPoints.clear();
        runs.push_back({where, screenFrame,
                        {none, whipFrom(anchor, step), whipFrom(anchor + QPointF(3.3, 7.7), step * 1.2),
                         whipFrom(anchor + QPointF(-2.6, 15.1), step * 0.7), none}});
    }
    {
        // The throwing hand, a grenade's flight and its blast, and the marks the other toys leave.
        std::vector<ScreenToyScene> frames;
        const ScreenToyGrenade grenade{QPointF(785, 130), QPointF(1000.5, 600.5), 10, false};
        for (const double time : {9.0, 9.5, 10.1, 10.4, 10.7, 11.0, 11.2, 12.0}) {
            ScreenToyScene scene = heldAt(ScreenToyKind::grenade, QPointF(700, 400), time);
            if (time >= 10)
                scene.grenades.push_back(grenade);
            frames.push_back(scene);
        }
        runs.push_back({"grenade", display, frames});
        frames.clear();
        for (const double time : {9.0, 10.05, 10.2, 10.5, 12.0, 13.5, 14.0}) {
            ScreenToyScene scene = heldAt(ScreenToyKind::whip, std::nullopt, time);
            if (time >= 10) {
                scene.marks.push_back({ScreenToyKind::blaster, QPointF(1300.5, 820.5), 10,
                                       ScreenToyShot{QPointF(720, 300), QPointF(1300.5, 820.5), 10, ScreenToyKind::blaster}});
                scene.marks.push_back({ScreenToyKind::waterGun, QPointF(200.5, 100.5), 10,
                                       ScreenToyShot{QPointF(720, 300), QPointF(200.5, 100.5), 10, ScreenToyKind::waterGun}});
                scene.marks.push_back({ScreenToyKind::whip, QPointF(30.5, 880.5), 10, std::nullopt});
                ScreenToyWetPatch patch;
                patch.center = QPointF(600.5, 700.5);
                patch.createdAt = 10;
                patch.seed = 99;
                patch.volume = 2;
                scene.wetPatches.push_back(patch);
            }
            frames.push_back(scene);
        }
        runs.push_back({"marks and a wet patch", display, frames});
        // Each mark alone, its shot fired from straight below, and a grenade thrown to the left.
        frames.clear();
        for (const ScreenToyKind kind : {ScreenToyKind::blaster, ScreenToyKind::ak47, ScreenToyKind::waterGun, ScreenToyKind::whip}) {
            for (const double age : {0.01, 0.05, 0.2}) {
                ScreenToyScene scene = heldAt(ScreenToyKind::whip, std::nullopt, 10 + age);
                std::optional<ScreenToyShot> shot;
                if (kind != ScreenToyKind::whip)
                    shot = ScreenToyShot{QPointF(700.5, 60.5), QPointF(700.5, 500.5), 10, kind};
                scene.marks.push_back({kind, QPointF(700.5, 500.5), 10, shot});
                frames.push_back(scene);
                frames.push_back(heldAt(ScreenToyKind::whip, std::nullopt, 10 + age));
            }
        }
        const ScreenToyGrenade leftwards{QPointF(785, 130), QPointF(200.5, 500.5), 10, false};
        for (const double time : {10.1, 10.3, 10.5, 10.7, 10.9}) {
            ScreenToyScene scene = heldAt(ScreenToyKind::whip, std::nullopt, time);
            scene.grenades.push_back(leftwards);
            frames.push_back(scene);
            frames.push_back(heldAt(ScreenToyKind::whip, std::nullopt, time));
        }
        runs.push_back({"lone marks and a grenade's flight", display, frames});
    }

    for (const Run &run : runs) {
        RepaintedCanvas canvas(run.screenFrame);
        for (std::size_t i = 0; i < run.frames.size(); ++i) {
            const auto [unclaimed, wrong] = canvas.show(run.frames[i]);
            for (const auto &[what, region] : {std::pair{"ink outside its damage", unclaimed}, std::pair{"shown wrong", wrong}}) {
                const QRect box = region.boundingRect();
                EXPECT_TRUE(region.isEmpty()) << run.name << ", frame " << i << ": " << what << " at " << box.x() << ","
                                              << box.y() << " " << box.width() << "x" << box.height();
            }
        }
    }
}

// The crater's artwork lets a little of the desktop through its middle; the soot laid under it
// is solid there, so the blast's centre hides the desktop, drawn fresh and from the cache alike,
// until the explosion's last fade.
TEST(ScreenToyCanvasPainter, SootUnderTheCraterHidesTheDesktopAtTheBlastsCentre)
{
    ScreenToyScene scene;
    scene.grenades.push_back({QPointF(200, 100), QPointF(720, 450), 0.0, true});
    ScreenToyPictureCache pictures;
    // After the flash, the debris and the fire's ring have left the middle; the smoke rises above it.
    for (const double time : {3.55, 3.6, 5.5}) {
        scene.displayTime = time;
        const QImage image = paintedCanvas(scene, display, pictures);
        for (int r = 0; r <= 50; r += 5) {
            for (const QPoint offset : {QPoint(r, 0), QPoint(-r, 0), QPoint(0, r), QPoint(0, -r)}) {
                const QColor pixel = image.pixelColor(QPoint(720, 450) + offset);
                EXPECT_GE(pixel.alpha(), 250) << "at " << time << " s, " << offset.x() << "," << offset.y();
                EXPECT_LT(pixel.lightness(), 120) << "at " << time << " s, " << offset.x() << "," << offset.y();
            }
        }
    }
}

#include "Effects/ScreenToys/ScreenToyArtwork.h"
#include "Effects/ScreenToys/ScreenToyCanvasPainter.h"
#include "Effects/ScreenToys/ScreenToyCanvasView.h"
#include "Effects/ScreenToys/ScreenToyGrenadePainter.h"
#include "Effects/ScreenToys/ScreenToyHandsLayout.h"
#include "Effects/ScreenToys/ScreenToyPOV.h"
#include "Effects/ScreenToys/ScreenToyRecolouring.h"
#include "support/CanvasFrame.h"

#include <gtest/gtest.h>

#include <QPainterPathStroker>

#include <cmath>

namespace {
const QRectF display(0, 0, 1440, 900);
// Light and dark wallpapers the toys' marks are seen over.
const QColor walls[] = {QColor(0xd8dce6), QColor(Qt::white), QColor(0x1b1e24), QColor(Qt::black)};
const ScreenToyKind heldKinds[] = {ScreenToyKind::blaster, ScreenToyKind::ak47, ScreenToyKind::waterGun};

// The eight aims of the screen's corners and edge middles, in global y-up points; the bottom
// middle a point right of the pivot, as a pointer rarely sits exactly on it.
struct Aim {
    const char *name;
    QPointF pointer;
};
const Aim aims[] = {{"top left", QPointF(0, 899)},      {"top", QPointF(720, 899)},
                    {"top right", QPointF(1439, 899)},  {"right", QPointF(1439, 450)},
                    {"bottom right", QPointF(1439, 0)}, {"bottom", QPointF(721, 0)},
                    {"bottom left", QPointF(0, 0)},     {"left", QPointF(0, 450)}};

QRgb straight(const QImage &image, QPointF unit, int frame = 0, int frames = 1)
{
    const int side = image.width() / frames;
    const QPoint at(frame * side + std::clamp(int(unit.x() * side), 0, side - 1),
                    std::clamp(int(unit.y() * image.height()), 0, image.height() - 1));
    return image.pixel(at);
}

double luminance(QColor colour)
{
    const auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

double contrast(QColor a, QColor b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Of the pixels in `area` at least `minAlpha` opaque, how many there are and how many, seen over
// `wall`, stand at `ratio` or more against it.
struct Reading {
    int covered = 0;
    int reading = 0;
};
Reading readingOver(const QImage &drawn, const QRect &area, const QColor &wall, double minAlpha, double ratio)
{
    Reading result;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb over = drawn.pixel(x, y);
            const double alpha = qAlpha(over) / 255.0;
            if (alpha < minAlpha)
                continue;
            ++result.covered;
            const QColor seen = QColor::fromRgbF(float(qRed(over) / 255.0 + wall.redF() * (1 - alpha)),
                                                 float(qGreen(over) / 255.0 + wall.greenF() * (1 - alpha)),
                                                 float(qBlue(over) / 255.0 + wall.blueF() * (1 - alpha)));
            result.reading += contrast(seen, wall) >= ratio;
        }
    }
    return result;
}

QImage paintedFrame(const ScreenToyScene &scene, const QRectF &screenFrame = display)
{
    ScreenToyPictureCache pictures;
    return paintedCanvas(scene, screenFrame, pictures);
}

// Where the artwork's muzzle sits in canvas coordinates before it is turned: the layout's
// muzzle at a straight-up aim, turned back by that aim's angle.
QPointF artMuzzle(ScreenToyKind kind)
{
    const ScreenToyPOVLayout up = ScreenToyPOV::layout(display, QPointF(720, 899), kind);
    const QPointF d = up.muzzle - up.pivot;
    const double a = up.angle;
    return up.pivot + QPointF(d.x() * std::cos(a) - d.y() * std::sin(a), d.x() * std::sin(a) + d.y() * std::cos(a));
}

ScreenToyScene aimed(ScreenToyKind kind, QPointF pointer)
{
    ScreenToyScene scene;
    scene.toy = kind;
    scene.pointer = pointer;
    scene.displayTime = 10;
    return scene;
}
}

// The layouts the canvas and the grenade painter cut the files by: frames side by side, the
// grenade body alone in the right strip, every weapon's muzzle where shots leave it.
TEST(ScreenToyArtwork, FilesHoldTheLayoutsTheyAreCutBy)
{
    for (ScreenToyKind kind : heldKinds) {
        SCOPED_TRACE(rawValue(kind).toStdString());
        const QImage &art = ScreenToyArtwork::hands(kind);
        ASSERT_FALSE(art.isNull());
        const int frames = ScreenToyArtwork::frameCount(kind);
        EXPECT_EQ(art.width(), frames * art.height()) << "square frames side by side";
        // The muzzle in the frame's own coordinates, from the layout at a straight-up aim.
        const QRectF frame = ScreenToyPOV::layout(display, QPointF(720, 899), kind).handsFrame;
        const QPointF inCanvas = artMuzzle(kind);
        const QPointF muzzle((inCanvas.x() - frame.left()) / frame.width(),
                             1 - (inCanvas.y() - frame.top()) / frame.width());
        for (int frame = 0; frame < frames; ++frame) {
            EXPECT_GT(qAlpha(straight(art, muzzle + QPointF(0, 0.012), frame, frames)), 200) << "the barrel's end";
            EXPECT_EQ(qAlpha(straight(art, muzzle - QPointF(0, 0.012), frame, frames)), 0) << "nothing past it";
        }
        if (frames == 2) {
            EXPECT_NE(art.copy(0, 0, art.height(), art.height()), art.copy(art.height(), 0, art.height(), art.height()))
                << "the fired frame differs";
        }
    }

    const QImage &grenade = ScreenToyArtwork::grenadeHands();
    ASSERT_EQ(grenade.width(), grenade.height());
    const int side = grenade.width();
    QRect strip;
    for (int y = 0; y < side; ++y)
        for (int x = int(0.6 * side); x < side; ++x)
            if (qAlpha(grenade.pixel(x, y)) > 0)
                strip |= QRect(x, y, 1, 1);
    EXPECT_GE(strip.left(), int(0.61 * side)) << "the hand stays out of the body's strip";
    EXPECT_NEAR(strip.center().y(), side / 2, side * 0.06) << "the body centred, as it flies about its middle";
    bool armReachesBottom = false;
    for (int x = 0; x < int(0.6 * side); ++x)
        armReachesBottom |= qAlpha(grenade.pixel(x, side - 1)) == 255;
    EXPECT_TRUE(armReachesBottom) << "the arm runs off the bottom of the hand's rectangle";
}

// Before a throw the hand holds a grenade where the throw starts, and the hand fits its
// rectangle the way the painter cuts it.
TEST(ScreenToyArtwork, ThrowingHandHoldsTheGrenadeWhereTheThrowStarts)
{
    const QImage hand = ScreenToyGrenadePainter::grenadeHandRaster(ScreenToyHandTone::original);
    ASSERT_EQ(hand.size(), QSize(400, 660));
    const QRectF rect = ScreenToyGrenadePainter::handRect(display, 0);
    // The controller throws from 65 pt right of the middle, 130 pt up.
    const QPointF origin(display.center().x() + 65, 130);
    const QPoint at(int((origin.x() - rect.left()) / rect.width() * hand.width()),
                    int((rect.bottom() - origin.y()) / rect.height() * hand.height()));
    const QColor held = QColor::fromRgba(hand.pixel(at));
    EXPECT_EQ(held.alpha(), 255);
    EXPECT_GT(held.greenF(), held.redF()) << "olive grenade, not skin, at the throw's start";
}

// Each tone recolours the hands and only the hands: no pixel that is not skin changes, the
// rifle's wood and the grenades keep their colour, and every hand is recoloured.
TEST(ScreenToyArtwork, TonesRecolourTheHandsAndNothingElse)
{
    for (ScreenToyKind kind : {ScreenToyKind::blaster, ScreenToyKind::ak47, ScreenToyKind::waterGun, ScreenToyKind::grenade}) {
        const QImage original = ScreenToyArtwork::hands(kind).convertToFormat(QImage::Format_ARGB32);
        const auto regions = ScreenToyRecolouring::regions(kind);
        const int frames = ScreenToyArtwork::frameCount(kind);
        const int side = original.width() / frames;
        const QPainterPath wood = ScreenToyHandsLayout::rifleWood();
        QList<QPainterPath> hands;
        // The same grown by the outline's stroke and its smoothing, where the hands' edge is.
        QPainterPath aroundHands;
        for (const ScreenToyHandsLayout::Hand &hand : ScreenToyHandsLayout::hands(kind)) {
            hands.append(hand.transform().map(ScreenToyHandsLayout::handOutline()));
            QPainterPathStroker edge;
            edge.setWidth(0.014);
            aroundHands = aroundHands.united(hands.back()).united(edge.createStroke(hands.back()));
        }
        for (ScreenToyHandTone tone : {ScreenToyHandTone::light, ScreenToyHandTone::deep}) {
            SCOPED_TRACE(rawValue(kind).toStdString() + " " + rawValue(tone).toStdString());
            const QImage tinted = ScreenToyArtwork::artwork(kind, tone).convertToFormat(QImage::Format_ARGB32);
            int wrongly = 0;
            int woodChanged = 0;
            // Clearly skin left as it was, and warm colours that are not clearly skin (the
            // grenade's yellow band) changed.
            int skinKept = 0;
            int warmChanged = 0;
            // Changed, yet off the held toy's hands: the weapon's paint.
            int offHands = 0;
            for (int y = 0; y < original.height(); y += 2) {
                for (int x = 0; x < original.width(); x += 2) {
                    const QRgb before = original.pixel(x, y);
                    if (qAlpha(before) < 255)
                        continue;
                    const QColor c = QColor::fromRgba(before);
                    const double strength = ScreenToyRecolouring::skinStrength(c.redF(), c.greenF(), c.blueF());
                    const bool clearlySkin = strength == 1 && c.redF() - c.greenF() > 0.1;
                    const QPointF unit(double(x % side) / side, double(y) / side);
                    if (before == tinted.pixel(x, y)) {
                        // Inside a hand's outline (where the artwork has hands), else anywhere
                        // the recolouring may touch.
                        bool inHand = hands.isEmpty() && unit.y() >= regions.handRegionStartsAt
                            && !(regions.protectedWarmPath && regions.protectedWarmPath->contains(unit));
                        for (const QPainterPath &outline : hands)
                            inHand |= outline.contains(unit);
                        skinKept += clearlySkin && inHand;
                        continue;
                    }
                    warmChanged += strength > 0 && c.redF() - c.greenF() <= 0.07;
                    offHands += !hands.isEmpty() && !aroundHands.contains(unit);
                    bool highlighted = false;
                    for (const QRectF &zone : regions.skinHighlightRegions)
                        highlighted |= zone.contains(unit);
                    if (!highlighted && strength == 0)
                        ++wrongly;
                    if (kind == ScreenToyKind::ak47 && wood.contains(unit))
                        ++woodChanged;
                }
            }
            EXPECT_EQ(wrongly, 0) << "pixels that are not skin changed";
            // Only the odd pixel where the wood's edge meets a hand's.
            EXPECT_LE(woodChanged, 4);
            EXPECT_LE(skinKept, 20) << "skin left in the original tone";
            EXPECT_LE(warmChanged, 50);
            EXPECT_LE(offHands, 20);
            for (const ScreenToyHandsLayout::Hand &hand : ScreenToyHandsLayout::hands(kind)) {
                // The back of each hand, a little towards the wrist from the grip.
                const QPointF back = hand.transform().map(QPointF(0.0, 0.03));
                for (int frame = 0; frame < frames; ++frame)
                    EXPECT_NE(straight(original, back, frame, frames), straight(tinted, back, frame, frames))
                        << "hand at " << back.x() << "," << back.y();
            }
            if (kind == ScreenToyKind::grenade) {
                // On the grenade in the hand only the fingers over it change.
                int grenadeChanged = 0;
                const QPainterPath held = ScreenToyHandsLayout::grenadeInHand();
                for (int y = 0; y < side; y += 2) {
                    for (int x = 0; x < side; x += 2) {
                        const QColor c = QColor::fromRgba(original.pixel(x, y));
                        const bool clearlySkin = c.blueF() < c.greenF() && c.redF() - c.greenF() > 0.07;
                        grenadeChanged += held.contains(QPointF(double(x) / side, double(y) / side)) && !clearlySkin
                            && original.pixel(x, y) != tinted.pixel(x, y);
                    }
                }
                EXPECT_LT(grenadeChanged, 20);
                EXPECT_EQ(original.copy(int(0.61 * side), 0, side - int(0.61 * side), side),
                          tinted.copy(int(0.61 * side), 0, side - int(0.61 * side), side));
                EXPECT_NE(straight(original, QPointF(0.287, 0.718)), straight(tinted, QPointF(0.287, 0.718))) << "forearm";
            }
        }
    }
}

// Aimed to the right the artwork is mirrored: the weapon's underside (grip, magazine), to the
// left in the artwork, always faces down once turned, and an aim and its mirror image draw
// mirror images.
TEST(ScreenToyArtwork, WeaponStaysRightWayUpAtEveryAim)
{
    for (ScreenToyKind kind : heldKinds) {
        for (const Aim &aim : aims) {
            SCOPED_TRACE(rawValue(kind).toStdString() + " " + aim.name);
            const ScreenToyPOVLayout layout = ScreenToyPOV::layout(display, aim.pointer, kind);
            const QTransform turn = ScreenToyCanvasPainter::povTransform(layout);
            const QPointF barrel = turn.map(QPointF(0, 1)) - turn.map(QPointF(0, 0));
            const QPointF underside = turn.map(QPointF(-1, 0)) - turn.map(QPointF(0, 0));
            const QPointF toMuzzle = layout.muzzle - layout.pivot;
            EXPECT_GT(QPointF::dotProduct(barrel, toMuzzle), 0.99 * std::hypot(toMuzzle.x(), toMuzzle.y()))
                << "the barrel points along the aim";
            if (std::abs(barrel.x()) > 0.2) {
                EXPECT_LT(underside.y(), 0) << "underside down";
            }
            // The artwork's muzzle lands on the layout's muzzle, mirrored or not.
            const QPointF drawn = turn.map(artMuzzle(kind));
            EXPECT_NEAR(std::hypot(drawn.x() - layout.muzzle.x(), drawn.y() - layout.muzzle.y()), 0, 0.5);
        }
    }
    const QImage left = paintedFrame(aimed(ScreenToyKind::ak47, QPointF(200, 600)));
    const QImage right = paintedFrame(aimed(ScreenToyKind::ak47, QPointF(1240, 600)));
    const QImage mirrored = right.mirrored(true, false);
    int differing = 0;
    int painted = 0;
    for (int y = 0; y < 900; y += 3) {
        for (int x = 0; x < 1440; x += 3) {
            painted += qAlpha(left.pixel(x, y)) > 0;
            differing += std::abs(qGray(left.pixel(x, y)) - qGray(mirrored.pixel(x, y))) > 40;
        }
    }
    EXPECT_GT(painted, 1000);
    EXPECT_LT(differing, painted / 50) << "aiming right draws the mirror image of aiming left";
}

// At every aim the toy itself shows, not only the fists: most of the weapon's own (not skin)
// pixels drawn straight up stay on the display once it is turned.
TEST(ScreenToyArtwork, ToyShowsAtEveryAim)
{
    const auto weaponPixels = [](ScreenToyKind kind, QPointF pointer) {
        const ScreenToyPOVLayout layout = ScreenToyPOV::layout(display, pointer, kind);
        const QImage art = ScreenToyArtwork::hands(kind);
        QImage canvas(display.size().toSize(), QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        painter.translate(0, canvas.height());
        painter.scale(1, -1);
        painter.setTransform(ScreenToyCanvasPainter::povTransform(layout), true);
        const QRectF frame(0, 0, double(art.width()) / ScreenToyArtwork::frameCount(kind), art.height());
        ScreenToyCanvasPainter::drawImage(painter, layout.handsFrame, art, frame);
        painter.end();
        int count = 0;
        for (int y = 0; y < canvas.height(); y += 2) {
            for (int x = 0; x < canvas.width(); x += 2) {
                const QColor c = QColor::fromRgba(canvas.pixel(x, y));
                count += c.alpha() > 200 && ScreenToyRecolouring::skinStrength(c.redF(), c.greenF(), c.blueF()) < 0.5;
            }
        }
        return count;
    };
    for (ScreenToyKind kind : heldKinds) {
        const int upright = weaponPixels(kind, QPointF(720, 899));
        ASSERT_GT(upright, 1000) << rawValue(kind).toStdString();
        for (const Aim &aim : aims) {
            for (const double nudge : {-1.0, 0.0, 1.0}) {
                SCOPED_TRACE(rawValue(kind).toStdString() + " " + aim.name + " " + std::to_string(nudge));
                EXPECT_GE(weaponPixels(kind, aim.pointer + QPointF(nudge, 0)), upright * 6 / 10);
            }
        }
    }
}

// At every turn the arms come up from the bottom edge, never from a side, and are no longer
// than a forearm and upper arm would show.
TEST(ScreenToyArtwork, ArmsEnterFromTheBottomWithBoundedLengthAtEveryTurn)
{
    for (ScreenToyKind kind : heldKinds) {
        for (const Aim &aim : aims) {
            SCOPED_TRACE(rawValue(kind).toStdString() + " " + aim.name);
            const ScreenToyPOVLayout layout = ScreenToyPOV::layout(display, aim.pointer, kind);
            const double side = layout.handsFrame.width();
            const auto sleeves = ScreenToyCanvasPainter::sleeves(layout, kind);
            ASSERT_EQ(sleeves.size(), 2u);
            for (const auto &sleeve : sleeves) {
                const QRectF box = sleeve.outline.boundingRect();
                EXPECT_LT(box.top(), 0) << "runs off the bottom edge";
                EXPECT_GT(box.left(), 0);
                EXPECT_LT(box.right(), display.width());
                // The visible length: along the outline's first edge from the wrist to the bottom.
                double length = 0;
                for (int i = 1; i < sleeve.outline.size() / 2; ++i) {
                    const QPointF a = sleeve.outline[i - 1];
                    const QPointF b = sleeve.outline[i];
                    if (a.y() < 0)
                        break;
                    length += std::hypot(b.x() - a.x(), b.y() - a.y());
                }
                EXPECT_LT(length, 0.85 * side);
                EXPECT_LT(sleeve.wrist.y(), 0.75 * side) << "the hands stay low";
            }
            // Each arm leaves its hand away from it, and the arms do not cross on the way down.
            const QTransform turn = ScreenToyCanvasPainter::povTransform(layout);
            const auto hands = ScreenToyHandsLayout::hands(kind);
            for (std::size_t i = 0; i < sleeves.size(); ++i) {
                const QPointF grip = turn.map(QPointF(layout.handsFrame.left() + hands[i].centre.x() * side,
                                                      layout.handsFrame.top() + (1 - hands[i].centre.y()) * side));
                EXPECT_GT(QPointF::dotProduct(sleeves[i].direction, sleeves[i].wrist - grip), 0);
            }
            const bool firstLeft = sleeves[0].wrist.x() < sleeves[1].wrist.x();
            EXPECT_EQ(firstLeft, sleeves[0].shoulder.x() < sleeves[1].shoulder.x());
            const QImage frame = paintedFrame(aimed(kind, aim.pointer));
            int bottomRow = 0;
            int sides = 0;
            for (int x = 0; x < 1440; ++x)
                bottomRow += qAlpha(frame.pixel(x, 899)) > 0;
            for (int y = 0; y < 900; ++y)
                sides += (qAlpha(frame.pixel(0, y)) > 0) + (qAlpha(frame.pixel(1439, y)) > 0);
            EXPECT_GT(bottomRow, 40);
            EXPECT_EQ(sides, 0) << "nothing enters from the side edges";
            // Cloth, not a veil: solid along its middle below the wrist.
            for (const auto &sleeve : sleeves) {
                for (const int step : {5, 8}) {
                    const QPointF middle = (sleeve.outline[step] + sleeve.outline[sleeve.outline.size() - 1 - step]) / 2;
                    if (middle.y() > 2) {
                        EXPECT_EQ(qAlpha(frame.pixel(int(middle.x()), 899 - int(middle.y()))), 255) << "sleeve at " << step;
                    }
                }
            }
            // Drawn the way the canvas paints it, damage included.
            const QRegion damage = ScreenToyCanvasPainter::damage(aimed(kind, aim.pointer), display);
            for (const auto &sleeve : sleeves) {
                for (const QPointF &p : sleeve.outline) {
                    if (p.y() >= 0 && p.y() < 900) {
                        EXPECT_TRUE(damage.contains(QPoint(int(p.x()), 899 - int(p.y())))) << p.x() << "," << p.y();
                    }
                }
            }
        }
    }
}

// Cracks, holes and splashes read against a light and a dark wallpaper: a fair share of what
// each mark covers stands at 3:1 or more against the wallpaper.
TEST(ScreenToyArtwork, MarksReadOnLightAndDarkWallpapers)
{
    struct Mark {
        const char *name;
        ScreenToyKind kind;
        double age;
    };
    const Mark marks[] = {{"bullet glass", ScreenToyKind::blaster, 0.2},
                          {"whip tear", ScreenToyKind::whip, 0.05},
                          {"water splash", ScreenToyKind::waterGun, 0.2}};
    const QPointF point(700, 450);
    for (const Mark &m : marks) {
        ScreenToyScene scene;
        scene.toy = ScreenToyKind::whip;
        scene.displayTime = 10 + m.age;
        std::optional<ScreenToyShot> shot;
        if (m.kind != ScreenToyKind::whip)
            shot = ScreenToyShot{QPointF(720, 160), point, 10, m.kind};
        scene.marks.push_back({m.kind, point, 10, shot});
        const QImage drawn = paintedFrame(scene);
        for (const QColor &wall : walls) {
            SCOPED_TRACE(std::string(m.name) + " on " + wall.name().toStdString());
            const auto [covered, reading] = readingOver(drawn, QRect(550, 300, 300, 300), wall, 0.3, 3.0);
            EXPECT_GT(covered, 20);
            EXPECT_GE(reading, covered * 3 / 10) << reading << " of " << covered;
        }
    }
}

// The water gun's stream runs on into its splash, and the wet patch it leaves reads against a
// light and a dark wallpaper: a third of it or more stands at 1.5:1 or more against each.
TEST(ScreenToyArtwork, WaterReachesWhereItLandsAndReadsOnEveryWallpaper)
{
    const QPointF origin(720, 160);
    const QPointF point(700, 600);
    const QPointF way = (point - origin) / std::hypot(point.x() - origin.x(), point.y() - origin.y());
    const ScreenToyShot shot{origin, point, 10, ScreenToyKind::waterGun};
    // As the splash starts, 15 pt short of it (clear of its droplets) is still stream.
    const QPointF before = point - 15 * way;
    for (const int frame : {0, 1, 2}) {
        ScreenToyScene scene;
        scene.toy = ScreenToyKind::whip;
        scene.displayTime = 10 + shot.flightSeconds() + frame / 60.0;
        scene.marks.push_back({ScreenToyKind::waterGun, point, 10, shot});
        EXPECT_GT(qAlpha(paintedFrame(scene).pixel(int(before.x()), 899 - int(before.y()))), 0) << "frame " << frame;
    }

    ScreenToyScene scene;
    scene.toy = ScreenToyKind::whip;
    scene.displayTime = 10.5;
    scene.wetPatches.push_back({QPointF(700, 450), 10, 3, 1.0, std::nullopt});
    const QImage drawn = paintedFrame(scene);
    for (const QColor &wall : walls) {
        SCOPED_TRACE(wall.name().toStdString());
        const auto [covered, reading] = readingOver(drawn, QRect(620, 400, 160, 100), wall, 0.05, 1.5);
        EXPECT_GT(covered, 400);
        EXPECT_GE(reading, covered / 3) << reading << " of " << covered;
    }
}

// The effects' images have their depth: a white-hot core in the muzzle flash and the flame,
// a crater darkest in the middle that fades out to nothing at its edge.
TEST(ScreenToyArtwork, EffectsHaveABrightCoreAndSoftEdges)
{
    const QColor flashCore = QColor::fromRgba(ScreenToyArtwork::muzzleFlash().pixel(128, 128));
    EXPECT_GT(flashCore.valueF(), 0.97);
    EXPECT_LT(flashCore.hsvSaturationF(), 0.2) << "white, not yellow, at the core";
    const QImage &fire = ScreenToyArtwork::grenadeFire();
    EXPECT_GT(QColor::fromRgba(fire.pixel(64, 230)).lightnessF(), QColor::fromRgba(fire.pixel(64, 90)).lightnessF());
    EXPECT_LT(QColor::fromRgba(fire.pixel(64, 236)).hsvSaturationF(), 0.35) << "a pale core low in the flame";

    const QImage &crater = ScreenToyArtwork::grenadeCrater();
    const int c = crater.width() / 2;
    // The mean alpha round rings ever further out.
    double previous = 256;
    for (const double r : {0.0, 0.3, 0.6, 0.85, 0.98}) {
        double alpha = 0;
        for (int i = 0; i < 64; ++i) {
            const double a = 2 * M_PI * i / 64;
            alpha += qAlpha(crater.pixel(c + int(r * (c - 1) * std::cos(a)), c + int(r * (c - 1) * std::sin(a)))) / 64.0;
        }
        EXPECT_LE(alpha, previous) << "at " << r;
        previous = alpha;
    }
    EXPECT_GT(qAlpha(crater.pixel(c, c)), 200);
    EXPECT_LT(previous, 12) << "gone by the edge";
}

// The whip is held: a hand closes round the grip where the rope starts and its arm comes up from
// the bottom edge, in the hand tone; all of it lies in what the canvas repaints.
TEST(ScreenToyArtwork, WhipIsHeldInAHandInItsTone)
{
    ScreenToyScene scene;
    scene.toy = ScreenToyKind::whip;
    for (int i = 0; i < 11; ++i)
        scene.whipPoints.emplace_back(1000 - 24 * i, 500 - 3 * i);
    const QImage drawn = paintedFrame(scene);
    scene.handTone = ScreenToyHandTone::deep;
    const QImage deep = paintedFrame(scene);
    // Widget rows run down: the grip's middle is 12 pt right of the rope's start.
    const QColor held = QColor::fromRgba(drawn.pixel(1012, 399));
    EXPECT_EQ(held.alpha(), 255);
    EXPECT_GT(ScreenToyRecolouring::skinStrength(held.redF(), held.greenF(), held.blueF()), 0.5) << "skin at the grip";
    EXPECT_LT(QColor::fromRgba(deep.pixel(1012, 399)).lightnessF(), held.lightnessF() - 0.15) << "in the tone";
    // Closed round the grip's middle: on the rope's row the skin reaches well past it either way.
    const auto skinAt = [&](int x) {
        const QColor c = QColor::fromRgba(drawn.pixel(x, 399));
        return c.alpha() == 255 && ScreenToyRecolouring::skinStrength(c.redF(), c.greenF(), c.blueF()) > 0.5;
    };
    int first = 1012;
    int last = 1012;
    while (first > 900 && skinAt(first - 1))
        --first;
    while (last < 1120 && skinAt(last + 1))
        ++last;
    EXPECT_GE(std::min(1012 - first, last - 1012), 8) << first << ".." << last;
    // The fist holds the grip, drawn over it, and the grip's butt shows on past the fist.
    int butt = 0;
    for (int x = last + 2; x < last + 12; ++x)
        butt += qAlpha(drawn.pixel(x, 399)) == 255;
    EXPECT_GE(butt, 8) << "the grip past the fist";
    int bottomRow = 0;
    for (int x = 800; x < 1440; ++x)
        bottomRow += qAlpha(drawn.pixel(x, 899)) > 0;
    EXPECT_GT(bottomRow, 10) << "the arm comes up from the bottom edge";
    const QRegion damage = ScreenToyCanvasPainter::damage(scene, display);
    for (int y = 380; y < 900; y += 4) {
        for (int x = 800; x < 1440; x += 4) {
            if (qAlpha(drawn.pixel(x, y)) > 0) {
                ASSERT_TRUE(damage.contains(QPoint(x, y))) << x << "," << y;
            }
        }
    }
}

// The blast opens with a white-hot fireball that has burnt out, leaving the dark crater, by
// the time the smoke rises.
TEST(ScreenToyArtwork, ExplosionOpensWithAFireballThatBurnsOut)
{
    const auto centreLightness = [](double sinceBlast) {
        ScreenToyScene scene;
        scene.toy = ScreenToyKind::whip;
        scene.displayTime = 10 + ScreenToyGrenade::detonationSeconds + sinceBlast;
        scene.reduceMotion = true;
        scene.grenades.push_back({QPointF(720, 100), QPointF(720, 450), 10, true});
        const QImage frame = paintedFrame(scene);
        double sum = 0;
        for (int y = 440; y < 460; ++y)
            for (int x = 710; x < 730; ++x)
                sum += QColor::fromRgba(frame.pixel(x, y)).lightnessF() * qAlpha(frame.pixel(x, y)) / 255.0;
        return sum / 400;
    };
    EXPECT_GT(centreLightness(0.1), 0.55);
    EXPECT_LT(centreLightness(0.9), 0.3);
}

// The fireball is white-hot at its heart, not orange, once the debris has flown clear of it.
TEST(ScreenToyArtwork, FireballIsWhiteHotAtItsHeart)
{
    ScreenToyScene scene;
    scene.toy = ScreenToyKind::whip;
    scene.displayTime = 10 + ScreenToyGrenade::detonationSeconds + 0.2;
    scene.reduceMotion = true;
    scene.grenades.push_back({QPointF(720, 100), QPointF(720, 450), 10, true});
    const QImage frame = paintedFrame(scene);
    for (int y = 446; y <= 454; ++y) {
        for (int x = 716; x <= 724; ++x) {
            const QColor here = QColor::fromRgba(frame.pixel(x, y));
            EXPECT_LT(here.hsvSaturationF(), 0.3) << x << "," << y;
            EXPECT_GT(here.valueF(), 0.6) << x << "," << y;
        }
    }
}

// The blast's flash thins out to nothing: past the crater no ring, no rising step and no square
// edge where it is filled as a square, and it is gone before a small display's edge.
TEST(ScreenToyArtwork, BlastFlashThinsOutToNothingAtItsRim)
{
    const QRectF small(0, 0, 400, 300);
    const QPoint centre(200, 100);
    const int craterEdge = int(ScreenToyGrenadePainter::craterSide(small) / 2) + 4;
    for (const double sinceBlast : {0.02, 0.05}) {
        ScreenToyScene scene;
        scene.toy = ScreenToyKind::whip;
        scene.reduceMotion = true;
        scene.displayTime = 10 + ScreenToyGrenade::detonationSeconds + sinceBlast;
        scene.grenades.push_back({QPointF(200, 20), QPointF(centre.x(), small.height() - centre.y()), 10, true});
        const QImage frame = paintedFrame(scene, small);
        // Down and to either side: the smoke rises above the blast.
        for (const QPoint direction : {QPoint(0, 1), QPoint(-1, 0), QPoint(1, 0)}) {
            SCOPED_TRACE(std::to_string(sinceBlast) + " towards " + std::to_string(direction.x()) + ","
                         + std::to_string(direction.y()));
            int previous = qAlpha(frame.pixel(centre + direction * craterEdge));
            int steepest = 0;
            int rising = 0;
            QPoint at = centre + direction * craterEdge;
            for (; frame.rect().contains(at + direction); at += direction) {
                const int alpha = qAlpha(frame.pixel(at + direction));
                steepest = std::max(steepest, std::abs(alpha - previous));
                rising += alpha > previous + 1;
                previous = alpha;
            }
            EXPECT_GT(qAlpha(frame.pixel(centre + direction * craterEdge)), 10) << "the flash reaches past the crater";
            EXPECT_LE(steepest, 6);
            EXPECT_EQ(rising, 0);
            EXPECT_LE(previous, 2) << "gone by the display's edge";
        }
    }
}

#include "Effects/Pet/PetGeometry.h"
#include "Effects/Pet/PetPresentation.h"
#include "Effects/Pet/View/DesktopPetView.h"
#include "Effects/Pet/View/PetBodyImage.h"
#include "Effects/Pet/View/PetFace.h"
#include "Effects/Pet/View/PetFigure.h"
#include "Effects/Pet/View/PetWindow.h"
#include "Foundation/Contrast.h"
#include "fakes/FakeOverlayWindowSupport.h"
#include "fakes/ManualClock.h"
#include "support/TestFolders.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {
// The figure drawn at 2x on a transparent canvas with its centre at (80, 60) points.
QImage drawn(const PetFigureState &state)
{
    QImage image(320, 240, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(80, 60);
    PetFigure::paint(painter, state);
    return image;
}

QColor at(const QImage &image, QPointF figurePoint)
{
    return image.pixelColor(((figurePoint + QPointF(80, 60)) * 2).toPoint());
}

// Equal within one step of 8-bit rounding, opaque.
bool near(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) <= 1 && std::abs(a.green() - b.green()) <= 1
        && std::abs(a.blue() - b.blue()) <= 1 && a.alpha() == 255;
}

bool isBlank(const QImage &image, QRectF figureRect)
{
    for (double y = figureRect.top(); y < figureRect.bottom(); y += 0.5) {
        for (double x = figureRect.left(); x < figureRect.right(); x += 0.5) {
            if (at(image, {x, y}).alpha() > 8)
                return false;
        }
    }
    return true;
}
}

TEST(PetFigure, AnglesFollowWalkBobAndGaze)
{
    struct Case {
        const char *name;
        bool walking, step, bobbing;
        double gaze;
        PetFigure::Angles expected;
    };
    const Case cases[] = {
        {"resting", false, false, false, 0, {-6, 5, -1}},
        {"bob", false, false, true, 0, {-6, 5, 2}},
        {"walking step", true, true, false, 0, {-22, 14, -5}},
        {"walking off-step with bob", true, false, true, 0, {12, -20, 5}},
        {"gaze at its limit", false, false, false, 4, {-6, 5, 0.4}},
    };
    for (const Case &c : cases) {
        PetFigureState state;
        state.isWalking = c.walking;
        state.walkingStep = c.step;
        state.bobbing = c.bobbing;
        state.gaze = {c.gaze, 3};
        const PetFigure::Angles angles = PetFigure::angles(state);
        EXPECT_DOUBLE_EQ(angles.backFlipper, c.expected.backFlipper) << c.name;
        EXPECT_DOUBLE_EQ(angles.frontFlipper, c.expected.frontFlipper) << c.name;
        EXPECT_NEAR(angles.body, c.expected.body, 1e-9) << c.name;
    }
}

TEST(PetFigure, TintsAreExactAndCaseSensitive)
{
    EXPECT_EQ(PetFigure::petTint("pink"), QColor::fromRgbF(1.0f, 0.84f, 0.91f));
    for (const char *untinted : {"cream", "Ocean", "", "teal"})
        EXPECT_EQ(PetFigure::petTint(QString::fromUtf8(untinted)), QColor(Qt::white)) << untinted;
}

TEST(PetFigure, MirroringFlipsTheBadgeButNotTheCountdown)
{
    PetFigureState state;
    state.moment = PetMoment::camera;
    state.momentProgress = 1;
    state.focusTimeLabel.emplace(QStringLiteral("25:00"));
    const QImage facingLeft = drawn(state);
    state.facingDirection = -1;
    const QImage facingRight = drawn(state);

    // The camera badge's plate, beside the body on the side the pet faces away from.
    const QColor plate = QColor::fromRgbF(0.32f, 0.24f, 0.52f);
    EXPECT_TRUE(near(at(facingLeft, {36, 0}), plate));
    EXPECT_TRUE(isBlank(facingLeft, {-50, -2, 10, 6}));
    EXPECT_TRUE(near(at(facingRight, {-36, 0}), plate));
    EXPECT_TRUE(isBlank(facingRight, {40, -2, 10, 6}));
    // The countdown stays at the upper right either way.
    EXPECT_EQ(at(facingLeft, {40, -36}), at(facingRight, {40, -36}));
    EXPECT_GT(at(facingRight, {40, -36}).alpha(), 200);
}

TEST(PetFigure, APausedCountdownIsOrange)
{
    PetFigureState state;
    state.focusTimeLabel.emplace(QStringLiteral("9:59"));
    const QPointF edge(40, -38);
    EXPECT_TRUE(near(at(drawn(state), edge), QColor::fromRgbF(0.34f, 0.25f, 0.56f)));
    state.focusIsPaused = true;
    const QColor paused = at(drawn(state), edge);
    EXPECT_EQ(paused.red(), 255);
    EXPECT_GT(paused.green(), 120);
    EXPECT_LT(paused.blue(), 20);
}

// The countdown's text reads on its fill, running and paused: white on the violet, the dark
// label grey on the orange, where white would not read. The capsule's rounded ends blend into
// what lies behind them rather than stepping.
TEST(PetFigure, TheCountdownReadsOnItsFillAndItsEndsAreSmooth)
{
    for (const auto &[paused, ink] : {std::pair{false, QColor(Qt::white)}, std::pair{true, QColor(28, 28, 30)}}) {
        PetFigureState state;
        state.focusTimeLabel = QStringLiteral("59:59");
        state.focusIsPaused = paused;
        const QImage withCountdown = drawn(state);
        state.focusTimeLabel.reset();
        const QImage without = drawn(state);
        QHash<QRgb, int> counts;
        int partial = 0;
        for (int y = 0; y < withCountdown.height(); ++y) {
            for (int x = 0; x < withCountdown.width(); ++x) {
                const QRgb pixel = withCountdown.pixel(x, y);
                if (pixel == without.pixel(x, y))
                    continue;
                ++counts[pixel];
                partial += qAlpha(without.pixel(x, y)) == 0 && qAlpha(pixel) > 0 && qAlpha(pixel) < 255;
            }
        }
        ASSERT_FALSE(counts.isEmpty());
        const QRgb fill = std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                                           [](auto a, auto b) { return a.second < b.second; })->first;
        double best = 1;
        QColor drawnInk;
        for (auto it = counts.keyValueBegin(); it != counts.keyValueEnd(); ++it) {
            const double ratio = Contrast::ratio(QColor::fromRgb(it->first), QColor::fromRgb(fill));
            if (qAlpha(it->first) == 255 && ratio > best) {
                best = ratio;
                drawnInk = QColor::fromRgb(it->first);
            }
        }
        EXPECT_GE(best, Contrast::text) << (paused ? "paused" : "running");
        EXPECT_TRUE(near(drawnInk, ink)) << (paused ? "paused " : "running ") << drawnInk.name().toStdString();
        // Each rounded end spreads over a few pixels of partial cover on a clear background.
        EXPECT_GE(partial, 8) << (paused ? "paused" : "running");
    }
}

// The countdown is set in the desktop's font: a larger one makes a larger capsule.
TEST(PetFigure, TheCountdownGrowsWithTheDesktopsFont)
{
    const QFont saved = QGuiApplication::font();
    const auto capsulePixels = [](int bodyPixels) {
        QFont body = QGuiApplication::font();
        body.setPixelSize(bodyPixels);
        QGuiApplication::setFont(body);
        PetFigureState state;
        const QImage without = drawn(state);
        state.focusTimeLabel = QStringLiteral("25:00");
        const QImage with = drawn(state);
        int count = 0;
        for (int y = 0; y < with.height(); ++y) {
            for (int x = 0; x < with.width(); ++x)
                count += with.pixel(x, y) != without.pixel(x, y);
        }
        return count;
    };
    const int small = capsulePixels(10);
    const int large = capsulePixels(18);
    QGuiApplication::setFont(saved);
    EXPECT_GT(large, small * 1.4);
}

TEST(PetFigure, TheTintReachesOnlyTheBodyAndFlippers)
{
    PetFigureState cream;
    cream.accessoryID = QStringLiteral("crown");
    PetFigureState pink = cream;
    pink.colorID = QStringLiteral("pink");
    const QImage plain = drawn(cream);
    const QImage tinted = drawn(pink);

    const QPointF belly(0, 20), leftEye(-10, -7), crownMiddle(1, -28);
    EXPECT_NE(at(plain, belly), at(tinted, belly));
    EXPECT_EQ(at(tinted, belly).green(), std::lround(at(plain, belly).green() * 0.84));
    EXPECT_EQ(at(plain, leftEye), at(tinted, leftEye));
    EXPECT_EQ(at(plain, crownMiddle), at(tinted, crownMiddle));
}

TEST(PetFace, MoodsOverrideTheFaceAndOnlyOrdinaryEyesBlink)
{
    EXPECT_EQ(PetFace::effectiveFace(PetMood::sleeping, "grumpy"), "sleepy");
    EXPECT_EQ(PetFace::effectiveFace(PetMood::stretching, "happy"), "sleepy");
    EXPECT_EQ(PetFace::effectiveFace(PetMood::idle, "grumpy"), "grumpy");

    struct Case {
        const char *face;
        bool leftMoves, rightMoves;
    };
    const Case cases[] = {
        {"happy", true, true},     {"cheeky", false, true}, {"grumpy", false, false},
        {"innocent", false, false}, {"sleepy", false, false}, {"unknown", true, true},
    };
    for (const Case &c : cases) {
        const QString face = QString::fromUtf8(c.face);
        EXPECT_EQ(PetFace::eye(face, true, true).cell != PetFace::eye(face, true, false).cell, c.leftMoves) << c.face;
        EXPECT_EQ(PetFace::eye(face, false, true).cell != PetFace::eye(face, false, false).cell, c.rightMoves)
            << c.face;
    }
    // Open eyes sit at x -10 and +4; a blink lifts the mouth by 2.75.
    const PetFace::FaceLayout open = PetFace::layout("happy", false);
    const PetFace::FaceLayout blink = PetFace::layout("happy", true);
    EXPECT_DOUBLE_EQ(open.leftEye.x(), -10);
    EXPECT_DOUBLE_EQ(open.rightEye.x(), 4);
    EXPECT_NEAR(open.mouth.y() - blink.mouth.y(), 2.75, 1e-9);
    EXPECT_EQ(PetFace::mouth("sleepy").cell, QSizeF(4, 4));
}

// The happy face's mouth curves down in its middle: a smile, not a frown.
TEST(PetFace, TheSmileIsLowerInTheMiddleThanAtItsEnds)
{
    PetFigureState state;
    const QImage image = drawn(state);
    const QImage noMouth = [] {
        QImage blank(320, 240, QImage::Format_ARGB32_Premultiplied);
        blank.setDevicePixelRatio(2);
        blank.fill(Qt::transparent);
        return blank;
    }();
    QImage face = noMouth;
    {
        QPainter painter(&face);
        painter.translate(80, 60);
        PetFace::paintFace(painter, PetMood::idle, QStringLiteral("happy"), false);
    }
    const QPointF mouth = PetFace::layout(QStringLiteral("happy"), false).mouth;
    const auto inkAt = [&](QPointF point) { return at(face, point).alpha() > 100; };
    EXPECT_TRUE(inkAt(mouth + QPointF(0, 1.5)));
    EXPECT_FALSE(inkAt(mouth + QPointF(0, -2)));
    EXPECT_TRUE(inkAt(mouth + QPointF(-2, -1)) || inkAt(mouth + QPointF(-2, -0.5)));
    EXPECT_FALSE(image.isNull());
}

// The smile stands for the glyph ᴗ at 9 pt: its 6 x 11 line hangs from the bottom of the eye
// row plus 8, and the curve fills the middle of that line, 4.5 to 7.5 pt below the face centre
// with the eyes open. A blink lifts it with the line by 2.75.
TEST(PetFace, TheSmileSitsInTheMiddleOfItsGlyphsLine)
{
    const struct {
        const char *face;
        bool blinking;
        double top, bottom;
    } cases[] = {{"happy", false, -7 + 4.5, -7 + 7.5}, {"happy", true, -7 + 1.75, -7 + 4.75},
                 {"someone else's", false, -7 + 4.5, -7 + 7.5}};
    constexpr double ratio = 4, halfStroke = 0.8;
    for (const auto &c : cases) {
        QImage face(int(160 * ratio), int(120 * ratio), QImage::Format_ARGB32_Premultiplied);
        face.setDevicePixelRatio(ratio);
        face.fill(Qt::transparent);
        QPainter painter(&face);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(80, 60);
        PetFace::paintFace(painter, PetMood::idle, QString::fromUtf8(c.face), c.blinking);
        painter.end();
        // Between the eyes, where only the mouth is drawn.
        std::optional<double> top, bottom;
        for (int y = 0; y < face.height(); ++y) {
            for (double x = -5.5; x <= -0.5; x += 1 / ratio) {
                if (qAlpha(face.pixel(int((x + 80) * ratio), y)) > 128) {
                    const double row = y / ratio - 60;
                    top = top.value_or(row);
                    bottom = row + 1 / ratio;
                    break;
                }
            }
        }
        ASSERT_TRUE(top && bottom) << c.face;
        EXPECT_NEAR(*top, c.top - halfStroke, 0.25) << c.face << (c.blinking ? " blinking" : "");
        EXPECT_NEAR(*bottom, c.bottom + halfStroke, 0.25) << c.face << (c.blinking ? " blinking" : "");
    }
}

TEST(PetFace, CrownPointsAndHeadphoneBandEnds)
{
    const QPainterPath crown = PetFace::crownPath({0, 0, 23, 14});
    const QPointF points[] = {{0, 14}, {1.84, 3.92}, {7.82, 7.98}, {11.5, 0}, {15.64, 7.98}, {21.62, 3.5}, {23, 14}};
    ASSERT_GE(crown.elementCount(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_NEAR(crown.elementAt(i).x, points[i].x(), 1e-9) << i;
        EXPECT_NEAR(crown.elementAt(i).y, points[i].y(), 1e-9) << i;
    }

    // Both ends lie 7.2 degrees above the horizontal through the centre, the arc runs over the top.
    const QPainterPath band = PetFace::headphoneBand();
    const double rise = 17.5 * std::sin(7.2 * M_PI / 180), reach = 17.5 * std::cos(7.2 * M_PI / 180);
    const QPointF start = band.pointAtPercent(0), end = band.pointAtPercent(1), middle = band.pointAtPercent(0.5);
    EXPECT_NEAR(start.x(), -reach, 0.01);
    EXPECT_NEAR(start.y(), -rise, 0.01);
    EXPECT_NEAR(end.x(), reach, 0.01);
    EXPECT_NEAR(end.y(), -rise, 0.01);
    EXPECT_NEAR(middle.y(), -17.5, 0.05);
}

TEST(PetFace, UnknownAccessoriesDrawNothing)
{
    for (const char *accessory : {"none", "", "Crown", "hat"}) {
        QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.translate(50, 60);
        PetFace::paintAccessory(painter, QString::fromUtf8(accessory));
        painter.end();
        QImage blank(100, 100, QImage::Format_ARGB32_Premultiplied);
        blank.fill(Qt::transparent);
        EXPECT_EQ(image, blank) << accessory;
    }
}

TEST(PetBodyImage, TheFirstReadableFileWinsAndASymbolStandsInForNone)
{
    TestFolder folder;
    QImage small(64, 62, QImage::Format_ARGB32);
    small.fill(Qt::red);
    QImage large(128, 124, QImage::Format_ARGB32);
    large.fill(Qt::blue);
    folder.write("broken/body.png", "not an image");
    const QString single = folder.filePath("single/body.png");
    QDir().mkpath(folder.filePath("single"));
    small.save(single);
    QDir().mkpath(folder.filePath("both"));
    small.save(folder.filePath("both/body.png"));
    large.save(folder.filePath("both/body@2x.png"));

    const QImage fromSecond = PetBodyImage::load({folder.filePath("missing/body.png"),
                                                  folder.filePath("broken/body.png"), single});
    EXPECT_EQ(fromSecond.pixelColor(10, 10), QColor(Qt::red));

    const QImage doubled = PetBodyImage::load({folder.filePath("both/body.png")});
    EXPECT_EQ(doubled.devicePixelRatio(), 2);
    EXPECT_EQ(doubled.deviceIndependentSize(), QSizeF(64, 62));

    const QImage symbol = PetBodyImage::load({folder.filePath("missing/body.png")});
    EXPECT_FALSE(symbol.isNull());
    EXPECT_EQ(symbol.deviceIndependentSize(), QSizeF(64, 62));
}

// The badge sits behind the pet and the countdown at its upper right unless the screen ends
// there: then each moves to the other side, if that side has room.
TEST(PetFigure, BadgeAndCountdownMoveToTheSideWithRoomOnScreen)
{
    const struct {
        double facing;
        bool roomLeft, roomRight;
        double badgeSide, countdownSide;
    } cases[] = {
        {1, true, true, 1, 1},    {1, true, false, -1, -1}, {1, false, true, 1, 1},  {-1, true, true, -1, 1},
        {-1, false, true, 1, 1},  {-1, true, false, -1, -1}, {1, false, false, 1, 1}, {-1, false, false, -1, 1},
    };
    const QColor plate = QColor::fromRgbF(0.32f, 0.24f, 0.52f);
    for (const auto &c : cases) {
        PetFigureState state;
        state.moment = PetMoment::camera;
        state.momentProgress = 1;
        state.focusTimeLabel = QStringLiteral("24:59");
        state.facingDirection = c.facing;
        state.roomOnLeft = c.roomLeft;
        state.roomOnRight = c.roomRight;
        const QImage image = drawn(state);
        const std::string name = "facing " + std::to_string(c.facing) + (c.roomLeft ? " room left" : "")
            + (c.roomRight ? " room right" : "");
        EXPECT_TRUE(near(at(image, {36 * c.badgeSide, 0}), plate)) << name;
        EXPECT_TRUE(isBlank(image, {-c.badgeSide * 45 - 5, -2, 10, 6})) << name;
        EXPECT_GT(at(image, {40 * c.countdownSide, -36}).alpha(), 200) << name;
        EXPECT_TRUE(isBlank(image, {-c.countdownSide * 58 - 4, -36, 8, 2})) << name;
    }
}

TEST(PetGeometry, RoomBesideTheFigureEndsAtTheScreensEdges)
{
    const struct {
        double centre;
        bool left, right;
    } cases[] = {{720, true, true}, {1399, true, false}, {1362, true, true}, {1363, true, false},
                 {41, false, true}, {78, true, true},    {77, false, true}};
    for (const auto &c : cases) {
        const PetGeometry::RoomBeside room = PetGeometry::roomBeside(c.centre, 0, 1440);
        EXPECT_EQ(room.left, c.left) << c.centre;
        EXPECT_EQ(room.right, c.right) << c.centre;
    }
}

// At the default place the panel hangs past the right edge: the window tells its view so.
TEST(PetWindow, TellsItsViewWhichSidesOfTheFigureAreOnScreen)
{
    ManualClock clock;
    ManualScheduler scheduler{clock};
    PetPresentation presentation{scheduler};
    FakeOverlayWindowSupport support;
    PetWindow window(presentation, scheduler, support, {});
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const double width = PetGeometry::closedPanelSize.width();
    const struct {
        double x;
        bool left, right;
    } places[] = {{screen.right() + 1 - width + PetGeometry::overhang(PetGeometry::closedPanelSize), true, false},
                  {-PetGeometry::overhang(PetGeometry::closedPanelSize), false, true},
                  {screen.center().x() - width / 2, true, true},
                  {screen.right() + 1 - width + PetGeometry::overhang(PetGeometry::closedPanelSize), true, false}};
    for (const auto &p : places) {
        window.setFrame({QPointF(p.x, 100), PetGeometry::closedPanelSize});
        EXPECT_EQ(window.view().figureState().roomOnLeft, p.left) << p.x;
        EXPECT_EQ(window.view().figureState().roomOnRight, p.right) << p.x;
    }
}

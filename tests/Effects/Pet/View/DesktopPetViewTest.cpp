#include "Effects/Pet/PetPresentation.h"
#include "Effects/Pet/View/DesktopPetView.h"
#include "fakes/ManualClock.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>

#include <set>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {
struct ViewRig {
    ManualClock clock;
    ManualScheduler scheduler{clock};
    PetPresentation presentation{scheduler};
    std::vector<QSizeF> drags;
    int dragEnds = 0;
    DesktopPetView view{presentation, scheduler,
                        {{}, [this](QSizeF translation) { drags.push_back(translation); }, [this] { ++dragEnds; }}};

    ViewRig() { view.resize(170, 122); }

    // Sends a mouse event at a point of the figure's 82 x 76 frame; the view does not move, so
    // global and view coordinates differ only by the view's place.
    void mouse(QEvent::Type type, QPointF inFrame, Qt::MouseButtons buttons)
    {
        const QPointF at = view.figureFrame().topLeft() + inFrame;
        QMouseEvent event(type, at, view.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &event);
    }
};
}

TEST(DesktopPetView, HoverGazeFollowsThePointerAndNudgesOncePerEntry)
{
    ViewRig rig;
    const std::pair<QPointF, QPointF> gazes[] = {
        {{41, 40}, {0, 0}}, {{2, 2}, {-3.25, -2.714}}, {{80, 74}, {3.25, 2.429}}, {{60, 40}, {1.583, 0}}};
    for (const auto &[point, gaze] : gazes) {
        rig.mouse(QEvent::MouseMove, point, Qt::NoButton);
        // The 1.08 hover scale has not grown yet: the view's animation only moves when told.
        EXPECT_NEAR(rig.view.gaze().x(), gaze.x(), 0.01) << point.x();
        EXPECT_NEAR(rig.view.gaze().y(), gaze.y(), 0.01) << point.y();
    }
    EXPECT_EQ(rig.presentation.reactionLine(), QStringLiteral("Hey! That tickles")) << "one nudge for one entry";

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&rig.view, &leave);
    EXPECT_EQ(rig.view.gaze(), QPointF());
    rig.mouse(QEvent::MouseMove, {41, 40}, Qt::NoButton);
    EXPECT_EQ(rig.presentation.reactionLine(), QStringLiteral("Boop detected"));
}

TEST(DesktopPetView, ASmallPressIsATapAndADragIsNotAlsoATap)
{
    ViewRig rig;
    rig.mouse(QEvent::MouseButtonPress, {41, 40}, Qt::LeftButton);
    rig.mouse(QEvent::MouseMove, {42, 41}, Qt::LeftButton);
    rig.mouse(QEvent::MouseButtonRelease, {42, 41}, Qt::NoButton);
    EXPECT_TRUE(rig.drags.empty());
    EXPECT_TRUE(rig.presentation.isDialogueVisible()) << "a press moved by less than 3 points is a tap";
    rig.presentation.setDialogueVisible(false);

    rig.mouse(QEvent::MouseButtonPress, {41, 40}, Qt::LeftButton);
    rig.mouse(QEvent::MouseMove, {43, 40}, Qt::LeftButton);
    rig.mouse(QEvent::MouseMove, {51, 45}, Qt::LeftButton);
    rig.mouse(QEvent::MouseButtonRelease, {51, 45}, Qt::NoButton);
    ASSERT_EQ(rig.drags.size(), 1u);
    EXPECT_EQ(rig.drags[0], QSizeF(10, 5)) << "measured from the press";
    EXPECT_EQ(rig.dragEnds, 1);
    EXPECT_FALSE(rig.presentation.isDialogueVisible());
}

TEST(DesktopPetView, TheIdleCycleBobsAndBlinksExceptInSleep)
{
    ViewRig rig;
    rig.view.show();
    rig.scheduler.advance(1850ms);
    EXPECT_FALSE(rig.view.poseState().bobbing);
    rig.scheduler.advance(100ms);
    EXPECT_TRUE(rig.view.poseState().bobbing);
    rig.scheduler.advance(320ms);
    EXPECT_FALSE(rig.view.poseState().bobbing);
    rig.scheduler.advance(750ms);
    EXPECT_TRUE(rig.view.figureState().blinking);
    rig.scheduler.advance(130ms);
    EXPECT_FALSE(rig.view.figureState().blinking);
    // Between bobs nothing runs but the wait for the next one.
    for (int frame = 0; frame < 60 && rig.view.isAnimating(); ++frame)
        rig.view.advanceAnimation(1.0 / 60);
    EXPECT_FALSE(rig.view.isAnimating());
    EXPECT_EQ(rig.scheduler.pendingCount(), 1u);

    rig.scheduler.advance(1900ms);
    ASSERT_TRUE(rig.view.poseState().bobbing);
    rig.presentation.update(PetMood::sleeping, QStringLiteral("Zzz"));
    EXPECT_FALSE(rig.view.poseState().bobbing) << "falling asleep ends the bob at once";
    rig.scheduler.advance(10s);
    EXPECT_FALSE(rig.view.poseState().bobbing);
    for (int frame = 0; frame < 60 && rig.view.isAnimating(); ++frame)
        rig.view.advanceAnimation(1.0 / 60);
    EXPECT_FALSE(rig.view.isAnimating()) << "a sleeping pet does not move";
    EXPECT_EQ(rig.scheduler.pendingCount(), 0u);

    rig.presentation.update(PetMood::idle, QStringLiteral("Up"));
    rig.scheduler.advance(1850ms);
    EXPECT_FALSE(rig.view.poseState().bobbing);
    rig.scheduler.advance(100ms);
    EXPECT_TRUE(rig.view.poseState().bobbing) << "waking starts a fresh cycle";
}

TEST(DesktopPetView, WalkingStepsEveryFourteenHundredthsAndStopsOnTheFlatFoot)
{
    ViewRig rig;
    rig.view.show();
    rig.presentation.setWalking(true);
    EXPECT_TRUE(rig.view.poseState().walkingStep);
    rig.scheduler.advance(140ms);
    EXPECT_FALSE(rig.view.poseState().walkingStep);
    rig.scheduler.advance(140ms);
    EXPECT_TRUE(rig.view.poseState().walkingStep);
    rig.presentation.setWalking(false);
    EXPECT_FALSE(rig.view.poseState().walkingStep);
    rig.scheduler.advance(1s);
    EXPECT_FALSE(rig.view.poseState().walkingStep);
}

TEST(DesktopPetView, ThePointersRegionIsWhereTheBobEndsNotWhereEachFrameIs)
{
    ViewRig rig;
    rig.view.show();
    const QRegion resting = rig.view.inputRegion();
    rig.scheduler.advance(1900ms);
    ASSERT_TRUE(rig.view.poseState().bobbing);
    const QRegion raised = rig.view.inputRegion();
    EXPECT_NE(raised, resting) << "the region moves as soon as the bob heads up";
    EXPECT_LE(rig.view.figureHitArea().boundingRect().top(), resting.boundingRect().top() - 1)
        << "the bob's first pixel of movement shows in the wakeup that starts it";
    std::set<qreal> tops;
    for (int frame = 0; frame < 60 && rig.view.isAnimating(); ++frame) {
        rig.view.advanceAnimation(1.0 / 60);
        tops.insert(rig.view.figureHitArea().boundingRect().top());
        EXPECT_EQ(rig.view.inputRegion(), raised) << frame;
    }
    EXPECT_GT(tops.size(), 2u) << "the figure itself moved frame by frame";
    EXPECT_EQ(raised.boundingRect(), rig.view.figureHitArea().boundingRect().toAlignedRect());
}

TEST(DesktopPetView, FramesGoStraightToTheWindowWhereAFullRepaintWouldDraw)
{
    QWidget window;
    ViewRig rig;
    window.resize(200, 160);
    rig.view.setParent(&window);
    const QPoint offset(10, 20);
    rig.view.move(offset);
    rig.presentation.cursorNudged();
    const auto capsule = rig.view.capsuleRect();
    ASSERT_TRUE(capsule) << "the capsule lies outside the frames and must stay as drawn";
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    const auto storeImage = [&] {
        QPaintDevice *device = window.backingStore()->paintDevice();
        return device->devType() == QInternal::Image ? static_cast<QImage *>(device)->copy() : QImage();
    };
    const QRect capsuleArea = capsule->toAlignedRect().translated(offset);
    const QImage before = storeImage().copy(capsuleArea);
    ASSERT_FALSE(before.isNull());

    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    rig.view.installEventFilter(&counter);
    rig.scheduler.advance(1900ms);
    int frames = 0;
    for (; frames < 60 && rig.view.isAnimating(); ++frames)
        rig.view.advanceAnimation(1.0 / 60);
    EXPECT_GT(frames, 2);
    EXPECT_EQ(counter.paints, 0) << "no frame went through Qt's repaint";

    const QImage shown = storeImage();
    EXPECT_TRUE(shown.copy(capsuleArea) == before) << "a frame drew over what it did not clear";
    // Where the figure is opaque, the window shows it where a full repaint puts it. (Text is
    // blended differently on the opaque test window, so the capsule is left out.)
    const QImage fresh = rig.view.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int opaque = 0;
    int misplaced = 0;
    for (int y = 0; y < fresh.height(); ++y) {
        for (int x = 0; x < fresh.width(); ++x) {
            const QRgb pixel = fresh.pixel(x, y);
            if (qAlpha(pixel) < 255 || capsuleArea.contains(QPoint(x, y) + offset))
                continue;
            ++opaque;
            misplaced += (shown.pixel(QPoint(x, y) + offset) & 0xffffff) != (pixel & 0xffffff);
        }
    }
    EXPECT_GT(opaque, 1000);
    EXPECT_EQ(misplaced, 0);
}

#include "Effects/CursorEffectController.h"
#include "Effects/OverlayCoordinator.h"
#include "Effects/Overlays/CursorRippleView.h"
#include "fakes/FakeInputCapture.h"
#include "fakes/FakeOverlayWindowSupport.h"
#include "fakes/ManualClock.h"

#include <QCoreApplication>

#include <linux/input-event-codes.h>

#include <gtest/gtest.h>

namespace {
struct CursorFixture {
    ManualClock clock;
    ManualScheduler scheduler{clock};
    FakeOverlayWindowSupport support;
    OverlayCoordinator overlays{support, scheduler};
    FakeInputCapture capture;
    int clicks = 0;
    CursorEffectController controller{capture, overlays, [this] { ++clicks; }, [] { return QPointF(120, 300); }};

    CursorFixture() { capture.available = {{InputCaptureLevel::eventTap, true}}; }
    FakeInputSource *source() { return capture.sources[InputCaptureLevel::eventTap]; }
    void press(std::uint16_t button)
    {
        source()->send(button, 1);
        source()->send(button, 0);
        QCoreApplication::processEvents();
    }
    QList<CursorRippleView *> ripples() const
    {
        QList<CursorRippleView *> found;
        for (OverlayPanel *panel : overlays.panels()) {
            if (auto *ripple = qobject_cast<CursorRippleView *>(panel))
                found.append(ripple);
        }
        return found;
    }
};
}

TEST(CursorEffectController, ObservesWhileCountingOrShowingAndCountsEachPressOnce)
{
    CursorFixture f;
    EXPECT_FALSE(f.controller.isObserving());
    f.controller.setCountsClicks(true);
    ASSERT_TRUE(f.controller.isObserving());
    EXPECT_EQ(f.capture.requestedLabels.back(), CursorEffectController::threadLabel);

    f.press(BTN_LEFT);
    f.press(BTN_RIGHT);
    // A key that reached the mouse source is not a click.
    f.source()->send(KEY_A, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.clicks, 2);
    EXPECT_TRUE(f.ripples().isEmpty());

    f.controller.setStyle(CursorRippleStyle::petals);
    f.controller.setShowsRipples(true);
    f.controller.setCountsClicks(false);
    EXPECT_TRUE(f.controller.isObserving());
    f.press(BTN_MIDDLE);
    EXPECT_EQ(f.clicks, 2);
    ASSERT_EQ(f.ripples().size(), 1);
    EXPECT_EQ(f.ripples().front()->style(), CursorRippleStyle::petals);

    f.controller.setShowsRipples(false);
    EXPECT_FALSE(f.controller.isObserving());
    EXPECT_FALSE(f.capture.sources[InputCaptureLevel::eventTap] && f.source()->running);
}

TEST(CursorEffectController, APressQueuedBeforeTheControllerIsGoneIsDropped)
{
    ManualClock clock;
    ManualScheduler scheduler(clock);
    FakeOverlayWindowSupport support;
    OverlayCoordinator overlays(support, scheduler);
    FakeInputCapture capture;
    capture.available = {{InputCaptureLevel::eventTap, true}};
    int clicks = 0;
    auto controller =
        std::make_unique<CursorEffectController>(capture, overlays, [&] { ++clicks; }, [] { return QPointF(); });
    controller->setCountsClicks(true);
    capture.sources[InputCaptureLevel::eventTap]->send(BTN_LEFT, 1);
    controller.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 0);
}

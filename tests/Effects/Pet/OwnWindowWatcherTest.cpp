#include "Effects/Overlays/CursorRippleView.h"
#include "Effects/Overlays/ReactionCardView.h"
#include "Effects/Overlays/StatsOverlayView.h"
#include "Effects/Pet/DesktopPetController.h"
#include "Effects/Pet/PetPresentation.h"
#include "Effects/Pet/View/OwnWindowWatcher.h"
#include "Effects/Pet/View/PetWindow.h"
#include "Effects/Pet/View/QtPetDesktop.h"
#include "Effects/StatsOverlayPresentation.h"
#include "Foundation/ScreenGeometry.h"
#include "fakes/FakeOverlayWindowSupport.h"
#include "fakes/FakePetDesktop.h"
#include "fakes/ManualClock.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace std::chrono_literals;

// Real windows of every kind, shown over the pet, moved onto where it stepped and hidden, two
// rounds: the pet never meets a window a user works in or reads, and comes back after; it
// stays where it is under the layers drawn across the desktop and under its own window.
TEST(OwnWindowWatcher, ThePetKeepsClearOfEveryWindowAUserWorksInAndComesBackAfter)
{
    ManualClock clock;
    ManualScheduler scheduler{clock};
    FakeOverlayWindowSupport support;
    StatsOverlayPresentation hudPresentation(scheduler);
    PetPresentation otherPet(scheduler);
    using Clearance = OwnWindowWatcher::Clearance;
    static constexpr auto translucent = OverlayPanel::Blending::translucent;
    const struct {
        const char *name;
        std::function<std::unique_ptr<QWidget>()> make;
        Clearance clearance;
    } kinds[] = {
        {"control window", [] { return std::make_unique<QWidget>(); }, Clearance::keptClear},
        {"modal dialog", [] { auto d = std::make_unique<QDialog>(); d->setModal(true); return d; }, Clearance::keptClear},
        {"panel", [] { return std::make_unique<QWidget>(nullptr, Qt::Popup); }, Clearance::keptClear},
        {"typing HUD", [&] { return std::make_unique<StatsOverlayView>(hudPresentation, true); }, Clearance::keptClear},
        {"arrival toast", [] { return std::make_unique<ReactionCardView>(ReactionCard(), translucent); }, Clearance::keptClear},
        {"cursor ripple", [] { return std::make_unique<CursorRippleView>(CursorRippleStyle::bubbles, translucent); },
         Clearance::crossed},
        {"tooltip", [] { return std::make_unique<QWidget>(nullptr, Qt::ToolTip); }, Clearance::crossed},
        {"desktop layer below every window",
         [] { return std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::WindowStaysOnBottomHint); }, Clearance::crossed},
        {"the pet's own window", [&] { return std::make_unique<PetWindow>(otherPet, scheduler, support, PetPanelCallbacks{}); },
         Clearance::crossed},
    };
    const qreal primaryHeight = ScreenGeometry::primaryScreenHeight();
    for (const auto &kind : kinds) {
        SCOPED_TRACE(kind.name);
        QtPetDesktop desktop;
        DesktopPetController pet(clock, scheduler, desktop, [](PetPresentation &, PetPanelCallbacks callbacks) {
            return std::make_unique<FakePetPanel>(std::move(callbacks));
        });
        OwnWindowWatcher watcher(scheduler, [&pet](std::vector<QRectF> frames) { pet.keepClearOf(std::move(frames)); });
        pet.setStaysPut(true);
        pet.show();
        const auto petFrame = [&pet] { return pet.panel()->frame(); };
        const QRectF home = petFrame();
        const std::unique_ptr<QWidget> window = kind.make();
        EXPECT_EQ(OwnWindowWatcher::clearanceOf(*window), Clearance::crossed) << "not shown yet";
        const auto frame = [&] { return ScreenGeometry::fromQt(QRectF(window->frameGeometry()), primaryHeight); };
        const auto overThePet = [&] {
            window->move(ScreenGeometry::toQt(petFrame(), primaryHeight).center().toPoint()
                         - QPoint(window->width() / 2, window->height() / 2));
        };
        window->resize(320, 220);
        for (int round = 0; round < 2; ++round) {
            overThePet();
            window->show();
            scheduler.advance(0ms);
            EXPECT_EQ(OwnWindowWatcher::clearanceOf(*window), kind.clearance);
            const bool keptClear = kind.clearance == Clearance::keptClear;
            EXPECT_EQ(petFrame().intersects(frame()), !keptClear) << "shown, round " << round;
            EXPECT_EQ(petFrame() == home, !keptClear) << "round " << round;

            overThePet();
            scheduler.advance(0ms);
            EXPECT_EQ(petFrame().intersects(frame()), !keptClear) << "moved onto it, round " << round;

            window->hide();
            scheduler.advance(0ms);
            EXPECT_EQ(petFrame(), home) << "back after, round " << round;
        }
    }
}

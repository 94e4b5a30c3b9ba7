#include "App/AppController.h"
#include "App/AppWindows.h"
#include "Effects/Pet/DesktopPetController.h"
#include "Effects/Pet/PetGeometry.h"
#include "Effects/Pet/View/QtPetDesktop.h"
#include "Foundation/ScreenGeometry.h"
#include "Views/ControlWindow.h"
#include "Views/OnboardingWindow.h"
#include "Views/Onboarding/OnboardingPageView.h"
#include "fakes/FakeMotionSensor.h"
#include "fakes/FakePermissionProbe.h"
#include "support/TestPlatform.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// A first start: onboarding not completed, with or without a tap sensor.
struct FirstStart {
    TestFolder folder;
    FakePermissionProbe *probe = nullptr;
    ManualScheduler *scheduler = nullptr;
    std::unique_ptr<AppController> app;
    std::unique_ptr<AppWindows> windows;

    explicit FirstStart(bool sensor = false, const QByteArray &settings = {})
    {
        folder.write(QStringLiteral("defaults.ini"),
                     "[General]\ninstalledCC0AudioUpgrade1=true\ndidRequestInputMonitoringV2=true\n" + settings);
        TestPlatform base(folder);
        scheduler = base.scheduler;
        base.platform.packLibraryRoot = folder.makeDir(QStringLiteral("packs"));
        auto fakeProbe = std::make_unique<FakePermissionProbe>();
        probe = fakeProbe.get();
        base.platform.permissionProbe = std::move(fakeProbe);
        if (sensor)
            base.platform.findMotionSensor = [] { return std::make_unique<FakeMotionSensor>(); };
        app = std::make_unique<AppController>(std::move(base.platform));
        windows = std::make_unique<AppWindows>(*app);
        app->start();
        QCoreApplication::processEvents();
    }

    OnboardingWindow *window() { return windows->onboardingWindow(); }
    // The footer and page buttons shown now, by accessible name.
    QStringList shownButtons()
    {
        QStringList names;
        for (QAbstractButton *button : window()->findChildren<QAbstractButton *>()) {
            if (button->isVisibleTo(window()))
                names << button->accessibleName();
        }
        names.sort();
        return names;
    }
    void click(const QString &name)
    {
        for (QAbstractButton *button : window()->findChildren<QAbstractButton *>()) {
            if (button->accessibleName() == name && button->isVisibleTo(window())) {
                button->click();
                return;
            }
        }
        ADD_FAILURE() << "no shown " << name.toStdString();
    }
};

}

TEST(Onboarding, FooterAndPageButtonsFollowThePage)
{
    FirstStart start;
    ASSERT_NE(start.window(), nullptr);
    EXPECT_EQ(start.window()->size(), QSize(520, 380));
    const QStringList expected[] = {
        {"Continue"},
        {"Back", "Continue", "Grant Input Access"},
        {"Back", "Continue"},
        {"Back", "Done", "Tap Reaction", "Typing Sound"},
    };
    for (int page = 0; page < OnboardingWindow::pageCount; ++page) {
        EXPECT_EQ(start.window()->page(), page);
        EXPECT_EQ(start.shownButtons(), expected[page]) << page;
        if (page < OnboardingWindow::pageCount - 1)
            start.click(QStringLiteral("Continue"));
    }
    start.click(QStringLiteral("Back"));
    EXPECT_EQ(start.window()->page(), 2);

    // Asked even when already granted: the manager re-reads and explains only when missing.
    start.click(QStringLiteral("Back"));
    start.click(QStringLiteral("Grant Input Access"));
    EXPECT_EQ(start.probe->inputHelpShown, 1);
}

TEST(Onboarding, SensorPageShowsWhetherTheSensorWasFound)
{
    for (bool sensor : {false, true}) {
        FirstStart start(sensor);
        OnboardingPageView *page = start.window()->pageView(2);
        EXPECT_EQ(page->title(), sensor ? "Impact sensor detected"
                                        : "Impact reactions aren\u2019t supported on this computer");
        EXPECT_EQ(page->symbol(), sensor ? "checkmark.circle.fill" : "laptopcomputer.trianglebadge.exclamationmark");
        EXPECT_EQ(page->text(), sensor ? "Use light taps on the palm rest to test reactions."
                                       : "Keyboard sounds will still work normally.");
    }
}

TEST(Onboarding, DoneFinishesOnceAndClosingDoesNotFinish)
{
    {
        FirstStart start;
        start.window()->close();
        EXPECT_FALSE(start.app->settings().hasCompletedOnboarding());
        EXPECT_EQ(start.windows->controlWindow(), nullptr);
    }
    FirstStart start;
    QSignalSpy finished(start.app.get(), &AppController::onboardingFinished);
    for (int page = 0; page < OnboardingWindow::pageCount - 1; ++page)
        start.click(QStringLiteral("Continue"));
    OnboardingWindow *window = start.window();
    QAbstractButton *done = nullptr;
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->accessibleName() == QStringLiteral("Done"))
            done = button;
    }
    ASSERT_NE(done, nullptr);
    // A second click before the window has gone.
    done->click();
    done->click();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_TRUE(start.app->settings().hasCompletedOnboarding());
    EXPECT_EQ(start.windows->onboardingWindow(), nullptr);
    ASSERT_NE(start.windows->controlWindow(), nullptr);
    EXPECT_EQ(start.windows->controlWindow()->page(), SettingsPage::home);
    EXPECT_FALSE(window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The pet's real window and the welcome window: apart while it is open, at its own place after.
TEST(Onboarding, ThePetStandsClearOfTheWelcomeWindowAndReturnsAfter)
{
    const struct {
        const char *name;
        QByteArray settings;
    } starts[] = {
        {"first start", {}},
        {"stored place over the centre", "petPositionX=0.5\npetPositionY=0.5\n"},
    };
    for (const auto &s : starts) {
        FirstStart start(false, s.settings);
        DesktopPetController &pet = start.app->effectsController().pet();
        ASSERT_NE(pet.panel(), nullptr) << s.name;
        const auto qtFrame = [&pet] {
            return ScreenGeometry::toQt(pet.panel()->frame(), ScreenGeometry::primaryScreenHeight()).toRect();
        };
        start.scheduler->advance(std::chrono::milliseconds(0));
        const QRect window = start.window()->frameGeometry();
        EXPECT_FALSE(qtFrame().intersects(window)) << s.name;
        // Moved by the user onto the pet's new place.
        start.window()->move(qtFrame().center() - QPoint(window.width() / 2, window.height() / 2));
        start.scheduler->advance(std::chrono::milliseconds(0));
        EXPECT_FALSE(qtFrame().intersects(start.window()->frameGeometry())) << s.name << ", window moved";

        start.window()->close();
        start.scheduler->advance(std::chrono::milliseconds(0));
        const QRectF area = PetGeometry::placementArea(*QtPetDesktop().mainScreen(), pet.panel()->frame().size(), false);
        EXPECT_EQ(pet.panel()->frame().topLeft(),
                  PetGeometry::origin(area, pet.panel()->frame().size(), pet.savedPlacement().x, pet.savedPlacement().y))
            << s.name << ": back at its place";
    }
}

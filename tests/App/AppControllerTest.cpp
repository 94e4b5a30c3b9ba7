#include "App/AppController.h"
#include "App/AppWindows.h"
#include "Views/ControlWindow.h"
#include "Views/OnboardingWindow.h"
#include "support/TestPlatform.h"

#include <QPointer>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {
struct ControllerFixture {
    TestFolder folder;
    FakeAppShell *shell = nullptr;
    std::unique_ptr<AppController> controller;
    std::unique_ptr<AppWindows> windows;

    explicit ControllerFixture(const QString &lockName = QStringLiteral("plinkly.lock"))
    {
        TestPlatform base(folder, lockName);
        shell = base.shell;
        controller = std::make_unique<AppController>(std::move(base.platform));
        windows = std::make_unique<AppWindows>(*controller);
    }
};
}

TEST(AppController, StartRunsItsStepsOnceAndOpensOnboardingFirst)
{
    ControllerFixture fixture;
    AppController &controller = *fixture.controller;
    AppWindows &windows = *fixture.windows;
    controller.start();
    ASSERT_TRUE(controller.isStarted());
    ASSERT_NE(windows.onboardingWindow(), nullptr);
    EXPECT_EQ(windows.onboardingWindow()->windowTitle(), "Welcome to Plinkly");
    EXPECT_EQ(windows.controlWindow(), nullptr);

    OnboardingWindow *onboarding = windows.onboardingWindow();
    controller.start();
    EXPECT_EQ(windows.onboardingWindow(), onboarding);
    EXPECT_TRUE(fixture.shell->alerts.isEmpty());

    controller.finishOnboarding();
    EXPECT_TRUE(controller.settings().hasCompletedOnboarding());
    EXPECT_EQ(windows.onboardingWindow(), nullptr);
    ASSERT_NE(windows.controlWindow(), nullptr);
    EXPECT_EQ(windows.controlWindow()->windowTitle(), "Plinkly");
    EXPECT_EQ(windows.controlWindow()->minimumSize(), QSize(620, 500));
    EXPECT_EQ(controller.requestedSettingsPage(), SettingsPage::home);
}

TEST(AppController, ControlWindowFollowsTheRequestedPageAndIsFreedWhenClosed)
{
    ControllerFixture fixture;
    AppController &controller = *fixture.controller;
    AppWindows &windows = *fixture.windows;
    QSignalSpy changes(&controller, &AppController::changed);
    QSignalSpy requests(&controller, &AppController::controlPanelRequested);
    controller.showControlPanel(SettingsPage::focus);
    ControlWindow *window = windows.controlWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->page(), SettingsPage::focus);
    EXPECT_GE(changes.count(), 1);

    const QPointer<ControlWindow> closed = window;
    window->close();
    EXPECT_EQ(windows.controlWindow(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    controller.showControlPanel(SettingsPage::privacy);
    window = windows.controlWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->page(), SettingsPage::privacy);
    controller.showControlPanel(SettingsPage::privacy);
    EXPECT_EQ(requests.count(), 3);
}

TEST(AppController, SettingsChangesAreReannounced)
{
    ControllerFixture fixture;
    QSignalSpy changes(fixture.controller.get(), &AppController::changed);
    fixture.controller->settings().setStereoEnabled(false);
    EXPECT_EQ(changes.count(), 1);
}

TEST(AppController, SecondCopyShowsTheAlreadyOpenAlertAndQuits)
{
    ControllerFixture first;
    first.controller->start();

    // The second copy keeps its defaults apart but shares the first one's lock file.
    TestFolder secondFolder;
    TestPlatform base(secondFolder);
    FakeAppShell *secondShell = base.shell;
    base.platform.runLockPath = first.folder.filePath("plinkly.lock");
    AppController second(std::move(base.platform));
    AppWindows secondWindows(second);
    second.start();

    EXPECT_FALSE(second.isStarted());
    EXPECT_EQ(secondWindows.onboardingWindow(), nullptr);
    ASSERT_EQ(secondShell->alerts.size(), 1);
    EXPECT_EQ(secondShell->alerts.first(),
              "Plinkly is already open | Plinkly is already running. Quit the open copy before starting this one "
              "so sounds and reactions don't play twice.");
    EXPECT_EQ(secondShell->quitCount, 1);
}

TEST(AppController, UnusableLockFileExplainsWhyNothingStarted)
{
    ControllerFixture fixture(QStringLiteral("missing-folder/plinkly.lock"));
    fixture.controller->start();
    EXPECT_FALSE(fixture.controller->isStarted());
    ASSERT_EQ(fixture.shell->alerts.size(), 1);
    EXPECT_TRUE(fixture.shell->alerts.first().startsWith(
        "Plinkly is already open | Plinkly couldn’t secure its input session (No such file or directory"));
    EXPECT_TRUE(fixture.shell->alerts.first().endsWith("). No input monitoring was started."));
}

TEST(AppController, JournalLivesWithTheControllerAndIsReannounced)
{
    ControllerFixture fixture;
    QSignalSpy changes(fixture.controller.get(), &AppController::changed);
    FocusJournalStore *journal = &fixture.controller->journal();
    journal->addTask(QStringLiteral("Write the release notes"));
    EXPECT_EQ(changes.count(), 1);
    fixture.controller->start();
    EXPECT_EQ(&fixture.controller->journal(), journal);
    EXPECT_EQ(journal->tasks().size(), 1);
}

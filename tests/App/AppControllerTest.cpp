#include "App/AppController.h"
#include "support/TestPlatform.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {
struct ControllerFixture {
    TestFolder folder;
    FakeAppShell *shell = nullptr;
    std::unique_ptr<AppController> controller;

    explicit ControllerFixture(const QString &lockName = QStringLiteral("plinkly.lock"))
    {
        TestPlatform base(folder, lockName);
        shell = base.shell;
        controller = std::make_unique<AppController>(std::move(base.platform));
    }
};
}

TEST(AppController, StartRunsItsStepsOnceAndOpensOnboardingFirst)
{
    ControllerFixture fixture;
    AppController &controller = *fixture.controller;
    controller.start();
    ASSERT_TRUE(controller.isStarted());
    ASSERT_NE(controller.onboardingWindow(), nullptr);
    EXPECT_EQ(controller.onboardingWindow()->windowTitle(), "Welcome to Plinkly");
    EXPECT_EQ(controller.controlWindow(), nullptr);

    OnboardingWindow *onboarding = controller.onboardingWindow();
    controller.start();
    EXPECT_EQ(controller.onboardingWindow(), onboarding);
    EXPECT_TRUE(fixture.shell->alerts.isEmpty());

    controller.finishOnboarding();
    EXPECT_TRUE(controller.settings().hasCompletedOnboarding());
    EXPECT_EQ(controller.onboardingWindow(), nullptr);
    ASSERT_NE(controller.controlWindow(), nullptr);
    EXPECT_EQ(controller.controlWindow()->windowTitle(), "Plinkly");
    EXPECT_EQ(controller.controlWindow()->minimumSize(), QSize(620, 500));
    EXPECT_EQ(controller.requestedSettingsPage(), SettingsPage::home);
}

TEST(AppController, ControlWindowIsMadeOnceAndFollowsTheRequestedPage)
{
    ControllerFixture fixture;
    AppController &controller = *fixture.controller;
    QSignalSpy changes(&controller, &AppController::changed);
    controller.showControlPanel(SettingsPage::focus);
    ControlWindow *window = controller.controlWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->page(), SettingsPage::focus);
    EXPECT_GE(changes.count(), 1);

    window->close();
    controller.showControlPanel(SettingsPage::privacy);
    EXPECT_EQ(controller.controlWindow(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->page(), SettingsPage::privacy);
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
    second.start();

    EXPECT_FALSE(second.isStarted());
    EXPECT_EQ(second.onboardingWindow(), nullptr);
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

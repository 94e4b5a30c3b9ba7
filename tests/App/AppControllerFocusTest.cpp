#include "App/AppController.h"
#include "fakes/FakeWorkspace.h"
#include "support/TestPlatform.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(AppControllerFocus, RemembersTheUsersApplicationAndRecordsSessionsInTheJournal)
{
    TestFolder folder;
    TestPlatform base(folder);
    auto workspace = std::make_unique<FakeWorkspace>();
    FakeWorkspace &desktop = *workspace;
    base.platform.workspace = std::move(workspace);
    ManualScheduler &scheduler = *base.scheduler;
    AppController controller(std::move(base.platform));
    QSignalSpy changes(&controller, &AppController::changed);

    const WorkspaceApplication editor{QStringLiteral("org.example.Editor"), QStringLiteral("Editor")};
    desktop.frontmost = editor;
    desktop.running = {editor};
    controller.showControlPanel(SettingsPage::focus);
    EXPECT_EQ(controller.focus().recentExternalApplication(), (FocusAppOption{editor.identifier, editor.name}));
    EXPECT_EQ(controller.focus().availableApplications().size(), 1);

    controller.setFocusApp(editor.identifier, true);
    controller.handlePetAction(PetAction::focus25);
    EXPECT_TRUE(controller.focus().isActive());
    EXPECT_GT(changes.count(), 0);
    scheduler.advance(25min);
    ASSERT_EQ(controller.journal().records().size(), 1);
    EXPECT_TRUE(controller.journal().records()[0].completed);
    EXPECT_EQ(controller.journal().records()[0].activeSeconds, 1500);
}

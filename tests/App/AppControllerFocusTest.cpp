#include "App/AppController.h"
#include "fakes/FakeWorkspace.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>

TEST(AppControllerFocus, ShowingTheControlPanelRemembersTheUsersApplication)
{
    TestFolder folder;
    TestPlatform base(folder);
    auto workspace = std::make_unique<FakeWorkspace>();
    FakeWorkspace &desktop = *workspace;
    base.platform.workspace = std::move(workspace);
    AppController controller(std::move(base.platform));
    const WorkspaceApplication editor{QStringLiteral("org.example.Editor"), QStringLiteral("Editor")};
    desktop.frontmost = editor;
    desktop.running = {editor};

    controller.showControlPanel(SettingsPage::home);
    EXPECT_EQ(controller.focus().recentExternalApplication(), (FocusAppOption{editor.identifier, editor.name}));
    EXPECT_TRUE(controller.focus().availableApplications().isEmpty());
    controller.showControlPanel(SettingsPage::focus);
    EXPECT_EQ(controller.focus().availableApplications().size(), 1);
}

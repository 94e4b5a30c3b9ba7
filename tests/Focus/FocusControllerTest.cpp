#include "Focus/FocusController.h"
#include "Focus/FocusJournalStore.h"
#include "fakes/FakeWorkspace.h"
#include "fakes/ManualClock.h"
#include "support/TestFolders.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace std::chrono_literals;

namespace {

const WorkspaceApplication editor{QStringLiteral("org.example.Editor"), QStringLiteral("Editor")};
const WorkspaceApplication chat{QStringLiteral("org.example.Chat"), QStringLiteral("Chat")};

class FocusControllerTest : public ::testing::Test {
protected:
    TestSettings settings;
    ManualClock clock;
    ManualScheduler scheduler{clock};
    FakeWorkspace workspace;
    FocusJournalStore journal{*settings.defaults, clock};
    FocusController focus{*settings.store, journal, workspace, clock, scheduler};
    std::vector<std::pair<PetMood, QString>> pet;
    int starting = 0;

    void SetUp() override
    {
        focus.onPetUpdate = [this](PetMood mood, const QString &line) { pet.emplace_back(mood, line); };
        focus.onSessionStarting = [this] { ++starting; };
    }
};

TEST_F(FocusControllerTest, StartsFromTheSettingsAndRecordsTheSessionInTheJournal)
{
    SettingsStore &store = *settings.store;
    store.setEffectsPaused(true);
    store.setPetEnabled(false);
    store.setFocusGoal(QStringLiteral("Ship it"));
    store.setFocusAllowedBundleIDs({editor.identifier, workspace.own});
    focus.handlePetAction(PetAction::focus50);

    EXPECT_EQ(starting, 1);
    EXPECT_FALSE(store.effectsPaused());
    EXPECT_TRUE(store.petEnabled());
    EXPECT_EQ(store.focusMinutes(), 50);
    EXPECT_EQ(store.focusAllowedBundleIDs(), QStringList{editor.identifier});
    EXPECT_EQ(focus.session().remainingSeconds(), 50 * 60);
    EXPECT_EQ(pet.back().first, PetMood::focused);

    workspace.activate(chat);
    EXPECT_EQ(pet.back().first, PetMood::suspicious);
    focus.setFocusApp(chat.identifier, true);
    EXPECT_EQ(store.focusAllowedBundleIDs(), (QStringList{chat.identifier, editor.identifier}));
    workspace.activate(editor);
    workspace.activate(chat);
    EXPECT_EQ(focus.session().statusText(), QStringLiteral("On task in Chat"));

    scheduler.advance(10min);
    EXPECT_TRUE(focus.handlePetAction(PetAction::stopFocus));
    ASSERT_EQ(journal.records().size(), 1);
    EXPECT_EQ(journal.records()[0].goal, QStringLiteral("Ship it"));
    EXPECT_EQ(journal.records()[0].plannedMinutes, 50);
    EXPECT_FALSE(journal.records()[0].completed);
    EXPECT_EQ(journal.records()[0].activeSeconds, 600);
    EXPECT_FALSE(focus.handlePetAction(PetAction::pepTalk));
}

TEST_F(FocusControllerTest, ABreakAllowsEveryRunningApplicationAndIsRecordedToo)
{
    workspace.running = {editor, chat};
    focus.handlePetAction(PetAction::focus25);
    scheduler.advance(3min);
    focus.handlePetAction(PetAction::break5);

    EXPECT_EQ(focus.session().allowedBundleIdentifiers(), (QSet<QString>{editor.identifier, chat.identifier}));
    EXPECT_FALSE(focus.session().nudgesEnabled());
    EXPECT_EQ(pet.back(), std::pair(PetMood::idle, QStringLiteral("Five-minute reset. Breathe.")));
    EXPECT_EQ(starting, 1);
    scheduler.advance(5min);
    ASSERT_EQ(journal.records().size(), 2);
    EXPECT_EQ(journal.records()[0].goal, QStringLiteral("Take a real break"));
    EXPECT_TRUE(journal.records()[0].completed);
    EXPECT_EQ(journal.records()[1].activeSeconds, 180);
}

TEST_F(FocusControllerTest, RemembersTheApplicationTheUserCameFrom)
{
    workspace.frontmost = chat;
    workspace.running = {editor};
    focus.prepareControlPanel(false);
    EXPECT_EQ(focus.session().recentExternalApplication(), (FocusAppOption{chat.identifier, chat.name}));
    EXPECT_TRUE(focus.session().availableApplications().isEmpty());

    workspace.frontmost = WorkspaceApplication{workspace.own, QStringLiteral("Plinkly")};
    focus.prepareControlPanel(true);
    EXPECT_EQ(focus.session().recentExternalApplication(), (FocusAppOption{chat.identifier, chat.name}));
    EXPECT_EQ(focus.session().availableApplications(), (QList<FocusAppOption>{{editor.identifier, editor.name}}));
}

}

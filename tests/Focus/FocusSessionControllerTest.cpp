#include "Focus/FocusSessionController.h"
#include "fakes/FakeWorkspace.h"
#include "fakes/ManualClock.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace std::chrono_literals;

namespace {

const WorkspaceApplication editor{QStringLiteral("org.example.Editor"), QStringLiteral("Editor")};
const WorkspaceApplication chat{QStringLiteral("org.example.Chat"), QStringLiteral("Chat")};
const WorkspaceApplication videos{QStringLiteral("wmclass:Videos"), QStringLiteral("Videos")};

class FocusSessionControllerTest : public ::testing::Test {
protected:
    ManualClock clock;
    ManualScheduler scheduler{clock};
    FakeWorkspace workspace;
    std::vector<std::pair<PetMood, QString>> pet;
    std::vector<FocusSessionResult> results;
    std::unique_ptr<FocusSessionController> focus;

    void SetUp() override { create(); }

    void create()
    {
        focus = std::make_unique<FocusSessionController>(
            workspace, clock, scheduler, [this](PetMood mood, const QString &line) { pet.emplace_back(mood, line); });
        focus->onSessionEnded = [this](const FocusSessionResult &result) { results.push_back(result); };
    }

    void startGuarded(int minutes = 25)
    {
        focus->start(QStringLiteral("Write"), minutes, {editor.identifier}, true);
        pet.clear();
    }

    qsizetype nudges() const
    {
        return std::count_if(pet.begin(), pet.end(), [](const auto &update) { return update.first == PetMood::suspicious; });
    }
};

TEST_F(FocusSessionControllerTest, DurationIsClampedToOneMinuteThroughThreeHours)
{
    for (const auto &[minutes, seconds] : {std::pair{0, 60}, {-5, 60}, {25, 1500}, {180, 10800}, {240, 10800}}) {
        focus->start(QString(), minutes, {}, false);
        EXPECT_EQ(focus->remainingSeconds(), seconds) << minutes;
    }
}

TEST_F(FocusSessionControllerTest, OnlyTheOwnApplicationAllowedGivesAPlainTimer)
{
    focus->start(QStringLiteral("Write"), 25, {workspace.own}, true);
    EXPECT_TRUE(focus->allowedBundleIdentifiers().isEmpty());
    EXPECT_FALSE(focus->nudgesEnabled());
    EXPECT_EQ(focus->statusText(), QStringLiteral("Timer only · choose on-task apps to enable nudges"));

    pet.clear();
    workspace.activate(chat);
    EXPECT_EQ(nudges(), 0);
    EXPECT_EQ(focus->statusText(), QStringLiteral("Timer only · choose on-task apps to enable nudges"));
    workspace.activate({workspace.own, QStringLiteral("Plinkly")});
    EXPECT_EQ(focus->statusText(), QStringLiteral("On task in Plinkly"));
}

TEST_F(FocusSessionControllerTest, NudgesAtMostOncePerMinuteUntilTheGuardChanges)
{
    startGuarded();
    workspace.activate(chat);
    EXPECT_EQ(nudges(), 1);
    EXPECT_EQ(focus->statusText(), QStringLiteral("Potential distraction: Chat"));

    scheduler.advance(59s);
    workspace.activate(editor);
    EXPECT_EQ(focus->statusText(), QStringLiteral("On task in Editor"));
    workspace.activate(videos);
    EXPECT_EQ(focus->statusText(), QStringLiteral("Potential distraction: Videos"));
    EXPECT_EQ(nudges(), 1);

    scheduler.advance(1s);
    workspace.activate(chat);
    EXPECT_EQ(nudges(), 2);

    focus->updateGuard({editor.identifier}, true);
    EXPECT_EQ(focus->statusText(), QStringLiteral("App Guard ready"));
    workspace.activate(videos);
    EXPECT_EQ(nudges(), 3);
    // The same application always draws the same line.
    const QString videosLine = pet.back().second;
    scheduler.advance(60s);
    workspace.activate(chat);
    scheduler.advance(60s);
    workspace.activate(videos);
    EXPECT_EQ(pet.back(), std::pair(PetMood::suspicious, videosLine));

    focus->updateGuard({editor.identifier}, false);
    EXPECT_EQ(pet.back(), std::pair(PetMood::focused, QStringLiteral("I’ll keep the timer running quietly.")));
    workspace.activate(chat);
    EXPECT_EQ(focus->statusText(), QStringLiteral("In Chat · nudges muted"));
}

TEST_F(FocusSessionControllerTest, PausesAreTakenOutOfTheFocusedTime)
{
    startGuarded();
    scheduler.advance(10min);
    focus->pause();
    EXPECT_EQ(focus->statusText(), QStringLiteral("Paused · take a real break"));

    // The guard sleeps through a pause.
    workspace.activate(chat);
    EXPECT_EQ(focus->currentAppName(), QStringLiteral("Waiting for an app"));
    EXPECT_EQ(nudges(), 0);

    scheduler.advance(5min);
    EXPECT_EQ(focus->remainingSeconds(), 15 * 60);
    focus->resume();
    scheduler.advance(15min - 1s);
    EXPECT_TRUE(focus->isActive());
    scheduler.advance(1s);

    ASSERT_EQ(results.size(), 1u);
    EXPECT_FALSE(focus->isActive());
    EXPECT_TRUE(results[0].completed);
    EXPECT_EQ(results[0].activeSeconds, 1500);
    EXPECT_EQ(results[0].startedAt.secsTo(results[0].endedAt), 30 * 60);
    EXPECT_EQ(focus->statusText(), QStringLiteral("Session complete"));
    EXPECT_EQ(pet.back(), std::pair(PetMood::celebrating, QStringLiteral("You cooked. Session complete ✨")));
    EXPECT_EQ(scheduler.pendingCount(), 1u); // the last tick of the ended session, which does nothing
    scheduler.advance(2s);
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST_F(FocusSessionControllerTest, PausingWhenTimeIsUpCompletesAndStoppingWhilePausedExcludesThePause)
{
    focus->start(QString(), 1, {}, false);
    clock.advance(60s);
    focus->pause();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_TRUE(results[0].completed);
    EXPECT_FALSE(focus->isPaused());

    focus->start(QString(), 1, {}, false);
    scheduler.advance(20s);
    focus->pause();
    scheduler.advance(5min);
    EXPECT_TRUE(focus->isActive());
    focus->stop(false);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_FALSE(results[1].completed);
    EXPECT_EQ(results[1].activeSeconds, 20);
    EXPECT_EQ(pet.back(), std::pair(PetMood::idle, QStringLiteral("Break time. I’ll be here.")));
}

TEST_F(FocusSessionControllerTest, StartingOverARunningSessionRecordsIt)
{
    focus->stop(false);
    EXPECT_TRUE(results.empty());

    focus->start(QStringLiteral("  Essay  "), 25, {}, false);
    scheduler.advance(7min);
    focus->start(QStringLiteral("Break"), 5, {}, false);

    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].goal, QStringLiteral("Essay"));
    EXPECT_FALSE(results[0].completed);
    EXPECT_EQ(results[0].activeSeconds, 7 * 60);
    EXPECT_TRUE(focus->isActive());
    EXPECT_EQ(focus->remainingSeconds(), 300);
    // Only the new session's tick counts down.
    scheduler.advance(5min);
    EXPECT_EQ(results.size(), 2u);
}

TEST_F(FocusSessionControllerTest, WithoutActivationsASessionIsAPlainTimerThatSaysSo)
{
    workspace.reportsActivations = false;
    focus->start(QString(), 25, {editor.identifier}, true);
    EXPECT_EQ(focus->statusText(), QStringLiteral("Timer only · this desktop doesn’t report the active app"));
    focus->updateGuard({chat.identifier}, true);
    EXPECT_EQ(focus->statusText(), QStringLiteral("Timer only · this desktop doesn’t report the active app"));

    workspace.reportsActivations = true;
    focus->start(QString(), 25, {editor.identifier}, true);
    EXPECT_TRUE(workspace.watching());
    focus->stop(true);
    EXPECT_FALSE(workspace.watching());
}

TEST_F(FocusSessionControllerTest, OffersRunningApplicationsOnceByNameAndNamesMissingOnes)
{
    workspace.running = {chat, {workspace.own, QStringLiteral("Plinkly")}, {QString(), QStringLiteral("Anonymous")},
                         {editor.identifier, QString()}, {chat.identifier, QStringLiteral("Chat 2")},
                         {QStringLiteral("b"), QStringLiteral("browser")}};
    focus->refreshAvailableApplications();
    const QList<FocusAppOption> expected{{QStringLiteral("b"), QStringLiteral("browser")},
                                         {chat.identifier, QStringLiteral("Chat")},
                                         {editor.identifier, editor.identifier}};
    EXPECT_EQ(focus->availableApplications(), expected);

    workspace.installed.insert(QStringLiteral("org.example.Paint"), QStringLiteral("Paint"));
    focus->rememberRecentlyActiveApplication(QStringLiteral("org.example.Mail"), QStringLiteral("Mail"));
    focus->rememberRecentlyActiveApplication(workspace.own, QStringLiteral("Plinkly"));
    const QList<FocusAppOption> missing{{QStringLiteral("gone"), QStringLiteral("gone")},
                                        {QStringLiteral("org.example.Mail"), QStringLiteral("Mail")},
                                        {QStringLiteral("org.example.Paint"), QStringLiteral("Paint")}};
    EXPECT_EQ(focus->unavailableAllowedApplications({QStringLiteral("org.example.Paint"), chat.identifier,
                                                     QStringLiteral("gone"), QStringLiteral("org.example.Mail")}),
              missing);
}

}

TEST_F(FocusSessionControllerTest, NamelessApplicationsAndResumingSayWhatHappened)
{
    startGuarded();
    const struct {
        WorkspaceApplication application;
        QString status;
    } switches[] = {
        {{QStringLiteral("org.example.Nameless"), QString()}, QStringLiteral("Potential distraction: Unknown app")},
        {{QString(), QString()}, QStringLiteral("Potential distraction: Unknown app")},
        {{editor.identifier, QString()}, QStringLiteral("On task in Unknown app")},
    };
    for (const auto &[application, status] : switches) {
        workspace.activate(application);
        EXPECT_EQ(focus->currentAppName(), QStringLiteral("Unknown app"));
        EXPECT_EQ(focus->statusText(), status);
    }

    // Twice in one session: each pause and resume says so, and the guard listens again after.
    for (int round = 0; round < 2; ++round) {
        pet.clear();
        focus->pause();
        EXPECT_EQ(focus->statusText(), QStringLiteral("Paused · take a real break"));
        workspace.activate(chat);
        EXPECT_EQ(focus->statusText(), QStringLiteral("Paused · take a real break")) << "a paused guard is quiet";
        focus->resume();
        EXPECT_FALSE(focus->isPaused());
        EXPECT_EQ(focus->statusText(), QStringLiteral("Back on task"));
        const std::vector<std::pair<PetMood, QString>> expected{
            {PetMood::sleeping, QStringLiteral("Break time. I’ll keep your place.")},
            {PetMood::focused, QStringLiteral("Back at it. One step at a time.")}};
        EXPECT_EQ(pet, expected) << "round " << round;
        workspace.activate(editor);
        EXPECT_EQ(focus->statusText(), QStringLiteral("On task in Editor"));
    }
}

// What one session leaves behind must not reach the next one started in the same controller.
TEST_F(FocusSessionControllerTest, ANewSessionCarriesNoPauseOrNudgeLimitFromTheLastOne)
{
    startGuarded();
    focus->pause();
    scheduler.advance(10min);
    focus->resume();
    workspace.activate(chat);
    scheduler.advance(20s);
    focus->stop(false);

    startGuarded(1);
    workspace.activate(videos);
    EXPECT_EQ(nudges(), 1);
    scheduler.advance(30s);
    EXPECT_EQ(focus->remainingSeconds(), 30);
    scheduler.advance(30s);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_TRUE(results[1].completed);
    EXPECT_EQ(results[1].activeSeconds, 60);
}

TEST_F(FocusSessionControllerTest, TheQuietLineComesOnlyWhenNudgesTurnOff)
{
    startGuarded();
    focus->updateGuard({editor.identifier}, false);
    focus->updateGuard({editor.identifier, chat.identifier}, false);
    focus->updateGuard({}, true);
    focus->updateGuard({editor.identifier}, true);
    focus->updateGuard({}, false);
    const QString quiet = QStringLiteral("I’ll keep the timer running quietly.");
    EXPECT_EQ(std::count(pet.begin(), pet.end(), std::pair(PetMood::focused, quiet)), 2);
}

#include "Effects/Pet/PetPresentation.h"
#include "fakes/ManualClock.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {
class PetPresentationTest : public ::testing::Test {
protected:
    ManualClock clock;
    ManualScheduler scheduler{clock};
    PetPresentation pet{scheduler};

    QString bubble() const { return pet.reactionLine().value_or(QStringLiteral("<none>")); }
};
}

TEST_F(PetPresentationTest, CelebrationShowsItsLineForFourAndAHalfSecondsAndClosesTheMenu)
{
    pet.setDialogueVisible(true);
    pet.update(PetMood::celebrating, QStringLiteral("Done!"));
    EXPECT_FALSE(pet.isDialogueVisible());
    scheduler.advance(4400ms);
    EXPECT_EQ(bubble(), "Done!");
    scheduler.advance(200ms);
    EXPECT_FALSE(pet.reactionLine());
    EXPECT_EQ(pet.message(), "Done!");
}

TEST_F(PetPresentationTest, ANewerReactionIsNotCutShortByTheOlderClear)
{
    pet.petTapped();
    scheduler.advance(1s);
    pet.petTapped();
    scheduler.advance(2s);
    EXPECT_EQ(bubble(), "You found me 🐬");
    scheduler.advance(500ms);
    EXPECT_FALSE(pet.reactionLine());
}

TEST_F(PetPresentationTest, SuspicionShowsABubbleOnlyDuringACountdownAndRefocusingHidesIt)
{
    pet.update(PetMood::suspicious, QStringLiteral("Hmm"));
    EXPECT_FALSE(pet.reactionLine());
    EXPECT_EQ(pet.message(), "Hmm");

    pet.setFocusRemainingSeconds(600, false);
    pet.update(PetMood::suspicious, QStringLiteral("Back to it?"));
    EXPECT_EQ(bubble(), "Back to it?");
    pet.update(PetMood::focused, QStringLiteral("Thanks"));
    EXPECT_FALSE(pet.reactionLine());
    // The warning's pending clear must not touch a later bubble.
    pet.update(PetMood::celebrating, QStringLiteral("Yay"));
    scheduler.advance(3s);
    EXPECT_EQ(bubble(), "Yay");
}

TEST_F(PetPresentationTest, DuringACountdownTapsKeepTheMoodAndNudgesChangeNothing)
{
    pet.update(PetMood::focused, QStringLiteral("Working"));
    pet.setFocusRemainingSeconds(300, false);
    pet.petTapped();
    EXPECT_TRUE(pet.isDialogueVisible());
    EXPECT_EQ(pet.mood(), PetMood::focused);
    EXPECT_EQ(bubble(), "Boop! What’s the plan?");

    pet.cursorNudged();
    EXPECT_EQ(pet.mood(), PetMood::focused);
    EXPECT_TRUE(pet.isDialogueVisible());
    EXPECT_EQ(bubble(), "Boop! What’s the plan?");
}

TEST_F(PetPresentationTest, TapsNudgesAndDragsShareOneCounter)
{
    pet.petTapped();
    pet.petTapped();
    pet.cursorNudged();
    EXPECT_EQ(bubble(), "I see that cursor 👀");
    EXPECT_EQ(pet.mood(), PetMood::celebrating);
    pet.cursorNudged();
    EXPECT_EQ(pet.mood(), PetMood::bored);
    pet.dragged();
    EXPECT_EQ(bubble(), "I’ve been relocated!");
    EXPECT_EQ(pet.mood(), PetMood::celebrating);

    pet.reset();
    pet.cursorNudged();
    EXPECT_EQ(bubble(), "Hey! That tickles");
}

TEST_F(PetPresentationTest, SleepCycleStepsActOnlyFromTheirMood)
{
    struct Case {
        PetMood from;
        void (PetPresentation::*step)();
        PetMood expected;
        const char *message;
    };
    const Case cases[] = {
        {PetMood::idle, &PetPresentation::becomeBored, PetMood::bored, "Psst… got anything fun?"},
        {PetMood::sleeping, &PetPresentation::becomeBored, PetMood::sleeping, "start"},
        {PetMood::bored, &PetPresentation::rest, PetMood::sleeping, "Zzz… boop to wake me"},
        {PetMood::idle, &PetPresentation::rest, PetMood::idle, "start"},
        {PetMood::sleeping, &PetPresentation::stretch, PetMood::stretching, "Big stretch…"},
        {PetMood::bored, &PetPresentation::stretch, PetMood::bored, "start"},
        {PetMood::stretching, &PetPresentation::finishStretch, PetMood::sleeping, "Zzz… boop to wake me"},
        {PetMood::sleeping, &PetPresentation::finishStretch, PetMood::sleeping, "start"},
    };
    for (const Case &c : cases) {
        pet.update(c.from, QStringLiteral("start"));
        pet.setWalking(true);
        (pet.*c.step)();
        EXPECT_EQ(pet.mood(), c.expected) << qPrintable(rawValue(c.from));
        EXPECT_EQ(pet.message(), QString::fromUtf8(c.message)) << qPrintable(rawValue(c.from));
    }
    pet.update(PetMood::bored, QStringLiteral("start"));
    pet.setWalking(true);
    pet.rest();
    EXPECT_FALSE(pet.isWalking());
}

TEST_F(PetPresentationTest, MovementFacesAwayFromTheDeltaAndWalks)
{
    const std::pair<double, double> cases[] = {{0.5, 1}, {-0.6, 1}, {0.6, -1}, {0.3, -1}, {-12, 1}};
    for (const auto &[delta, facing] : cases) {
        pet.setWalking(false);
        pet.setMovement(delta);
        EXPECT_EQ(pet.facingDirection(), facing) << delta;
        EXPECT_TRUE(pet.isWalking()) << delta;
    }
}

TEST_F(PetPresentationTest, CountdownValuesAndLabel)
{
    pet.showReaction(QStringLiteral("Hi"), 10);
    pet.setFocusRemainingSeconds(-5, true);
    EXPECT_EQ(pet.focusRemainingSeconds(), 0);
    EXPECT_TRUE(pet.focusIsPaused());
    EXPECT_FALSE(pet.reactionLine()) << "a starting session hides the bubble";
    pet.setFocusRemainingSeconds(std::nullopt, true);
    EXPECT_FALSE(pet.focusRemainingSeconds());
    EXPECT_FALSE(pet.focusIsPaused());
    EXPECT_FALSE(pet.focusTimeLabel());

    const std::pair<int, const char *> labels[] = {{0, "0:00"}, {59, "0:59"}, {61, "1:01"}, {1500, "25:00"},
                                                   {3600, "60:00"}};
    for (const auto &[seconds, label] : labels) {
        pet.setFocusRemainingSeconds(seconds, false);
        EXPECT_EQ(pet.focusTimeLabel(), QString::fromUtf8(label));
    }
}

TEST_F(PetPresentationTest, BadgesClearOneDurationAfterTheLastAndResetClearsAtOnce)
{
    pet.showMoment(PetMoment::camera, 1.1);
    scheduler.advance(800ms);
    pet.showMoment(PetMoment::package, 1.1);
    scheduler.advance(800ms);
    EXPECT_EQ(pet.moment(), PetMoment::package);
    scheduler.advance(400ms);
    EXPECT_FALSE(pet.moment());

    pet.showMoment(PetMoment::power, 1.1);
    pet.setLidProgress(0.7);
    pet.setPhysicsMode(ChaosMode::vortex);
    pet.setDialogueVisible(true);
    pet.reset();
    EXPECT_FALSE(pet.moment());
    EXPECT_EQ(pet.mood(), PetMood::idle);
    EXPECT_EQ(pet.message(), "Ready when you are");
    EXPECT_FALSE(pet.isDialogueVisible());
    EXPECT_EQ(pet.lidProgress(), 0);
    EXPECT_FALSE(pet.physicsMode());
    pet.showMoment(PetMoment::camera, 5);
    scheduler.advance(2s);
    EXPECT_EQ(pet.moment(), PetMoment::camera) << "the clear from before the reset stays idle";
}

TEST_F(PetPresentationTest, LidProgressIsClampedAndNeverNotANumber)
{
    const std::pair<double, double> cases[] = {
        {0.4, 0.4}, {-1, 0}, {3, 1}, {std::nan(""), 0}, {std::numeric_limits<double>::infinity(), 0}};
    for (const auto &[given, stored] : cases) {
        pet.setLidProgress(given);
        EXPECT_EQ(pet.lidProgress(), stored) << given;
    }
}

TEST_F(PetPresentationTest, AppearanceIsAnnouncedEvenWhenUnchanged)
{
    int announcements = 0;
    QObject::connect(&pet, &PetPresentation::faceIDChanged, [&] { ++announcements; });
    pet.setAppearance(QStringLiteral("cream"), QStringLiteral("none"), QStringLiteral("happy"));
    EXPECT_EQ(announcements, 1);
}

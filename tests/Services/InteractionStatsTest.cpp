#include "Services/InteractionStats.h"
#include "fakes/ManualClock.h"
#include "support/TestFolders.h"

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

using namespace std::chrono_literals;

namespace {

KeySoundEvent key(KeyGroup group, KeyPhase phase = KeyPhase::down, bool repeat = false)
{
    KeySoundEvent event;
    event.keyCode = KEY_A;
    event.group = group;
    event.phase = phase;
    event.isRepeat = repeat;
    return event;
}

}

TEST(InteractionStats, CountsOnlyFreshPressesOfTypingKeys)
{
    struct Case {
        KeySoundEvent event;
        bool counted;
    };
    const std::vector<Case> cases{
        {key(KeyGroup::regular), true},
        {key(KeyGroup::space), true},
        {key(KeyGroup::enter), true},
        {key(KeyGroup::delete_), true},
        {key(KeyGroup::tabCaps), true},
        {key(KeyGroup::arrows), true},
        {key(KeyGroup::escape), true},
        {key(KeyGroup::regular, KeyPhase::up), false},
        {key(KeyGroup::regular, KeyPhase::down, true), false},
        {key(KeyGroup::modifier), false},
        {key(KeyGroup::function), false},
    };
    TestSettings settings;
    ManualClock clock;
    InteractionStats stats(*settings.store, clock);
    stats.setEnabled(true);
    std::uint64_t expected = 0;
    for (const auto &[event, counted] : cases) {
        EXPECT_EQ(stats.record(event), counted) << rawValue(event.group).toStdString();
        expected += counted ? 1 : 0;
    }
    EXPECT_EQ(stats.snapshot().keys, expected);
}

TEST(InteractionStats, CountsNothingWhileOff)
{
    TestSettings settings;
    ManualClock clock;
    InteractionStats stats(*settings.store, clock);
    EXPECT_FALSE(stats.record(key(KeyGroup::regular)));
    stats.recordClick();
    EXPECT_EQ(stats.snapshot(), InteractionSnapshot{});
    stats.setShowsLastKey(true);
    EXPECT_FALSE(stats.wantsKeyLabels());
    stats.setEnabled(true);
    EXPECT_TRUE(stats.wantsKeyLabels());
}

TEST(InteractionStats, KeysPerMinuteFollowsASlidingMinute)
{
    TestSettings settings;
    ManualClock clock;
    InteractionStats stats(*settings.store, clock);
    stats.setEnabled(true);
    for (int i = 0; i < 30; ++i) {
        stats.record(key(KeyGroup::regular));
        clock.advance(1s);
    }
    EXPECT_EQ(stats.snapshot().keysPerMinute, 30);
    clock.advance(30s); // the first key is now exactly a minute old
    EXPECT_EQ(stats.snapshot().keysPerMinute, 29);
    clock.advance(29s);
    EXPECT_EQ(stats.snapshot().keysPerMinute, 0);
    EXPECT_EQ(stats.snapshot().keys, 30u);
}

TEST(InteractionStats, KeepsTotalsAcrossLaunches)
{
    TestSettings settings;
    ManualClock clock;
    {
        InteractionStats stats(*settings.store, clock);
        stats.setEnabled(true);
        stats.record(key(KeyGroup::regular));
        stats.record(key(KeyGroup::space));
        stats.recordClick();
        stats.flush();
    }
    settings.reopen();
    InteractionStats stats(*settings.store, clock);
    EXPECT_EQ(stats.snapshot(), (InteractionSnapshot{2, 1, 0}));
    EXPECT_EQ(settings.defaults->value(QStringLiteral("interactionStatsKeys")).toULongLong(), 2u);
    EXPECT_EQ(settings.defaults->value(QStringLiteral("interactionStatsClicks")).toULongLong(), 1u);
}

TEST(InteractionStats, FlushesPeriodicallyOnlyWhenDue)
{
    TestSettings settings;
    ManualClock clock;
    InteractionStats stats(*settings.store, clock);
    stats.setEnabled(true);
    stats.record(key(KeyGroup::regular));
    clock.advance(10s);
    stats.flushIfDue();
    EXPECT_EQ(settings.store->interactionStatsKeys(), 0u);
    clock.advance(InteractionStats::flushInterval);
    stats.flushIfDue();
    EXPECT_EQ(settings.store->interactionStatsKeys(), 1u);
}

#include "Effects/SystemReactionController.h"
#include "Effects/SystemReactionPolicy.h"
#include "fakes/FakeReactionSources.h"

#include <gtest/gtest.h>

namespace {

using Kind = SystemReactionEvent::Kind;

PowerSnapshot battery(int percent)
{
    return {percent, false, false};
}
PowerSnapshot charging(int percent)
{
    return {percent, true, true};
}
PowerSnapshot plugged(int percent)
{
    return {percent, true, false};
}

struct Sequence {
    const char *name;
    std::vector<PowerSnapshot> readings;
    std::vector<SystemReactionEvent> expected;
};

std::string describe(const std::vector<SystemReactionEvent> &events)
{
    std::string text;
    for (const auto &event : events)
        text += event.text().toStdString() + "; ";
    return text;
}

} // namespace

TEST(SystemReactionPolicy, SequencesOfReadings)
{
    const std::vector<Sequence> sequences{
        {"first reading says nothing", {battery(4)}, {}},
        {"every threshold once on the way down",
         {battery(23), battery(21), battery(20), battery(19), battery(20), battery(19), battery(11), battery(10),
          battery(6), battery(5), battery(2), battery(1), battery(0)},
         {SystemReactionEvent::lowBattery(20), SystemReactionEvent::lowBattery(10), SystemReactionEvent::lowBattery(5),
          SystemReactionEvent::lowBattery(1)}},
        {"a jump across thresholds names only the lowest and never the others later",
         {battery(30), battery(4), battery(3), battery(1)},
         {SystemReactionEvent::lowBattery(5), SystemReactionEvent::lowBattery(1)}},
        {"starting low does not announce what was already passed", {battery(10), battery(11), battery(10), battery(9)}, {}},
        {"charger events on changes only, never repeated",
         {battery(50), charging(50), charging(51), charging(52), battery(52), battery(52), plugged(52)},
         {SystemReactionEvent::of(Kind::chargerConnected), SystemReactionEvent::of(Kind::chargerDisconnected),
          SystemReactionEvent::of(Kind::chargerConnected)}},
        {"plugging in re-arms the thresholds",
         {battery(21), battery(20), charging(20), charging(25), battery(25), battery(20)},
         {SystemReactionEvent::lowBattery(20), SystemReactionEvent::of(Kind::chargerConnected),
          SystemReactionEvent::of(Kind::chargerDisconnected), SystemReactionEvent::lowBattery(20)}},
        {"unplugging below a threshold does not announce it",
         {charging(15), battery(15), battery(14), battery(10)},
         {SystemReactionEvent::of(Kind::chargerDisconnected), SystemReactionEvent::lowBattery(10)}},
        {"no low battery while on power", {plugged(30), plugged(10), plugged(3)}, {}},
        {"full once per stretch on power",
         {charging(97), charging(99), charging(100), plugged(100), plugged(99), plugged(100)},
         {SystemReactionEvent::of(Kind::fullyCharged)}},
        {"a battery that stops charging near the top counts as full",
         {charging(95), plugged(96), plugged(96)},
         {SystemReactionEvent::of(Kind::fullyCharged)}},
        {"stopping to charge low is not full", {charging(60), plugged(60)}, {}},
        {"plugging in a full battery is not news",
         {battery(100), plugged(100), plugged(100)},
         {SystemReactionEvent::of(Kind::chargerConnected)}},
        {"full again after draining below the mark",
         {charging(100), battery(90), charging(90), charging(100)},
         {SystemReactionEvent::of(Kind::chargerDisconnected), SystemReactionEvent::of(Kind::chargerConnected),
          SystemReactionEvent::of(Kind::fullyCharged)}},
    };
    for (const Sequence &sequence : sequences) {
        SystemReactionPolicy::State state;
        std::vector<SystemReactionEvent> events;
        for (const PowerSnapshot &reading : sequence.readings) {
            const auto step = SystemReactionPolicy::advance(state, reading);
            events.insert(events.end(), step.begin(), step.end());
        }
        EXPECT_EQ(events, sequence.expected)
            << sequence.name << ": got " << describe(events) << " wanted " << describe(sequence.expected);
    }
}

TEST(SystemReactionController, ReportsOnlyWhileRunningAndEnabledButAlwaysKeepsTheSnapshot)
{
    FakePowerSource power;
    FakeSleepMonitor sleep;
    SystemReactionController controller(&power, &sleep);
    std::vector<SystemReactionEvent> reported;
    controller.onReaction = [&](const SystemReactionEvent &event) { reported.push_back(event); };
    ASSERT_TRUE(power.running);
    EXPECT_FALSE(controller.snapshot().has_value());

    power.send(battery(40));
    power.send(charging(40));
    EXPECT_EQ(controller.snapshot(), charging(40));
    EXPECT_TRUE(reported.empty());
    EXPECT_FALSE(sleep.running);

    controller.start();
    EXPECT_TRUE(sleep.running);
    power.send(battery(40));
    sleep.send(SleepTransition::willSleep);
    sleep.send(SleepTransition::didWake);
    EXPECT_EQ(reported, (std::vector{SystemReactionEvent::of(Kind::chargerDisconnected),
                                     SystemReactionEvent::of(Kind::willSleep), SystemReactionEvent::of(Kind::didWake)}));
    EXPECT_EQ(controller.lastEventText(), "Computer woke up");

    reported.clear();
    controller.batteryEnabled = false;
    controller.wakeEnabled = false;
    power.send(charging(40));
    sleep.send(SleepTransition::willSleep);
    EXPECT_TRUE(reported.empty());

    // The policy followed the unreported change: re-enabling does not replay it.
    controller.batteryEnabled = true;
    power.send(charging(41));
    EXPECT_TRUE(reported.empty());

    controller.stop();
    EXPECT_FALSE(sleep.running);
    power.send(battery(41));
    EXPECT_TRUE(reported.empty());

    power.send(std::nullopt);
    EXPECT_FALSE(controller.snapshot().has_value());
}

TEST(SystemReactionController, WorksWithoutSources)
{
    SystemReactionController controller(nullptr, nullptr);
    controller.start();
    int reactions = 0;
    controller.onReaction = [&](const SystemReactionEvent &) { ++reactions; };
    controller.report(SystemReactionEvent::lowBattery(10));
    EXPECT_EQ(controller.lastEventText(), "Battery crossed 10%");
    EXPECT_EQ(reactions, 1);
    controller.stop();
}

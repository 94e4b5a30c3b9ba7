#include "Effects/ClosureEffectModule.h"
#include "Effects/EffectEngine.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

struct Calls {
    int starts = 0;
    int stops = 0;
    int resets = 0;
};

std::shared_ptr<ClosureEffectModule> recordingModule(const QString &id, EffectCapabilities required, QObject *owner,
                                                     Calls &calls)
{
    return std::make_shared<ClosureEffectModule>(
        EffectID(id), std::move(required), owner, [&calls] { ++calls.starts; }, [&calls] { ++calls.stops; },
        [&calls] { ++calls.resets; });
}

enum class ProfileCase { covers, lacks, lacksButAllowsAll };

struct GateCase {
    bool enabled;
    bool paused;
    ProfileCase profile;
    bool runs;
};

EffectCapabilityProfile profileFor(ProfileCase profileCase)
{
    switch (profileCase) {
    case ProfileCase::covers:
        return {{EffectCapability::inputMonitoring, EffectCapability::motionSensor}, false};
    case ProfileCase::lacks:
        return {{EffectCapability::inputMonitoring}, false};
    case ProfileCase::lacksButAllowsAll:
        return {{}, true};
    }
    return {};
}

// Named and printed by value: the default prints the struct's bytes, padding included, so the
// listed names would change from one run to the next.
std::string describe(const GateCase &c)
{
    static const char *const profiles[] = {"Covers", "Lacks", "LacksButAllowsAll"};
    return std::string(c.enabled ? "Enabled" : "Disabled") + (c.paused ? "Paused" : "Running") +
           profiles[int(c.profile)];
}

void PrintTo(const GateCase &c, std::ostream *out)
{
    *out << describe(c);
}

std::string gateCaseName(const ::testing::TestParamInfo<GateCase> &info)
{
    return describe(info.param);
}

class EffectEngineGate : public ::testing::TestWithParam<GateCase> {};

TEST_P(EffectEngineGate, RunsExactlyWhenEveryConditionHolds)
{
    const GateCase c = GetParam();
    const EffectCapabilities required{EffectCapability::motionSensor};
    const EffectID id(QStringLiteral("tap-reactions"));

    // Reach the state in every order of the three settings; passing states may start and
    // stop the module, but it ends up running exactly once or not at all.
    const std::array<int, 3> steps{0, 1, 2};
    std::array<int, 3> order = steps;
    do {
        QObject owner;
        Calls calls;
        EffectEngine engine;
        engine.registerModule(recordingModule(id.rawValue, required, &owner, calls));
        for (int step : order) {
            if (step == 0)
                engine.setEnabled(id, c.enabled);
            else if (step == 1)
                engine.setPaused(c.paused);
            else
                engine.setCapabilityProfile(profileFor(c.profile));
        }
        EXPECT_EQ(engine.isRunning(id), c.runs);
        EXPECT_EQ(calls.starts - calls.stops, c.runs ? 1 : 0);

        // Repeating the same state neither starts again nor stops.
        const Calls before = calls;
        engine.setEnabled(id, c.enabled);
        engine.setPaused(c.paused);
        engine.setCapabilityProfile(profileFor(c.profile));
        EXPECT_EQ(calls.starts, before.starts);
        EXPECT_EQ(calls.stops, before.stops);
    } while (std::next_permutation(order.begin(), order.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, EffectEngineGate,
    ::testing::Values(GateCase{true, false, ProfileCase::covers, true}, GateCase{true, false, ProfileCase::lacks, false},
                      GateCase{true, false, ProfileCase::lacksButAllowsAll, true},
                      GateCase{true, true, ProfileCase::covers, false}, GateCase{true, true, ProfileCase::lacks, false},
                      GateCase{true, true, ProfileCase::lacksButAllowsAll, false},
                      GateCase{false, false, ProfileCase::covers, false},
                      GateCase{false, false, ProfileCase::lacks, false},
                      GateCase{false, false, ProfileCase::lacksButAllowsAll, false},
                      GateCase{false, true, ProfileCase::covers, false}, GateCase{false, true, ProfileCase::lacks, false},
                      GateCase{false, true, ProfileCase::lacksButAllowsAll, false}),
    gateCaseName);

TEST(EffectEngine, StopsWhenAnyConditionEndsAndRestartsWhenItReturns)
{
    QObject owner;
    Calls calls;
    EffectEngine engine;
    const EffectID id(QStringLiteral("cursor-effects"));
    engine.setCapabilityProfile({{EffectCapability::inputMonitoring}, false});
    engine.registerModule(recordingModule(id.rawValue, {EffectCapability::inputMonitoring}, &owner, calls));
    engine.setEnabled(id, true);
    ASSERT_EQ(calls.starts, 1);

    const std::vector<std::pair<std::function<void()>, std::function<void()>>> interruptions{
        {[&] { engine.setPaused(true); }, [&] { engine.setPaused(false); }},
        {[&] { engine.setEnabled(id, false); }, [&] { engine.setEnabled(id, true); }},
        {[&] { engine.setCapabilityProfile({}); },
         [&] { engine.setCapabilityProfile({{EffectCapability::inputMonitoring}, false}); }},
        {[&] { engine.setCapabilityProfile({}); }, [&] { engine.setCapabilityProfile({{}, true}); }},
    };
    int expectedStarts = 1;
    for (const auto &[end, restore] : interruptions) {
        end();
        EXPECT_FALSE(engine.isRunning(id));
        EXPECT_EQ(calls.stops, expectedStarts);
        restore();
        ++expectedStarts;
        EXPECT_TRUE(engine.isRunning(id));
        EXPECT_EQ(calls.starts, expectedStarts);
    }
}

TEST(EffectEngine, ModulesWithoutRequirementsRunOnAnEmptyProfileAndRegisteringLateStartsAtOnce)
{
    QObject owner;
    Calls calls;
    EffectEngine engine;
    const EffectID id(QStringLiteral("desktop-physics"));
    engine.setEnabled(id, true);
    engine.registerModule(recordingModule(id.rawValue, {}, &owner, calls));
    EXPECT_TRUE(engine.isRunning(id));
    EXPECT_EQ(calls.starts, 1);
}

TEST(EffectEngine, ReplacingAModuleStopsTheOldOneAndStartsTheNew)
{
    QObject owner;
    Calls first;
    Calls second;
    EffectEngine engine;
    const EffectID id(QStringLiteral("desktop-pet"));
    engine.setEnabled(id, true);
    engine.registerModule(recordingModule(id.rawValue, {}, &owner, first));
    engine.registerModule(recordingModule(id.rawValue, {}, &owner, second));
    EXPECT_EQ(first.stops, 1);
    EXPECT_EQ(second.starts, 1);
    EXPECT_EQ(engine.runningEffects(), QStringList{id.rawValue});
}

TEST(EffectEngine, ResetAllResetsEveryModuleAndChangesNoState)
{
    QObject owner;
    Calls running;
    Calls idle;
    EffectEngine engine;
    engine.registerModule(recordingModule(QStringLiteral("desktop-pet"), {}, &owner, running));
    engine.registerModule(recordingModule(QStringLiteral("lid-dance"), {EffectCapability::lidAngleSensor}, &owner, idle));
    engine.setEnabled(EffectID(QStringLiteral("desktop-pet")), true);
    engine.setEnabled(EffectID(QStringLiteral("lid-dance")), true);

    const QStringList enabledBefore = engine.enabledEffects();
    const QStringList runningBefore = engine.runningEffects();
    QSignalSpy changes(&engine, &EffectEngine::changed);
    engine.resetAll();

    EXPECT_EQ(running.resets, 1);
    EXPECT_EQ(idle.resets, 1);
    EXPECT_EQ(running.starts + running.stops, 1);
    EXPECT_EQ(idle.starts + idle.stops, 0);
    EXPECT_EQ(engine.enabledEffects(), enabledBefore);
    EXPECT_EQ(engine.runningEffects(), runningBefore);
    EXPECT_FALSE(engine.isPaused());
    EXPECT_EQ(changes.count(), 0);
}

TEST(EffectEngine, AModuleThatChangesTheEngineFromItsStartIsSettledOnce)
{
    QObject owner;
    EffectEngine engine;
    const EffectID pet(QStringLiteral("desktop-pet"));
    const EffectID physics(QStringLiteral("desktop-physics"));
    Calls physicsCalls;
    int petStarts = 0;
    // Starting the pet turns physics on, as a setting written from a start would.
    engine.registerModule(std::make_shared<ClosureEffectModule>(
        pet, EffectCapabilities{}, &owner,
        [&] {
            ++petStarts;
            engine.setEnabled(physics, true);
        },
        [] {}, [] {}));
    engine.registerModule(recordingModule(physics.rawValue, {}, &owner, physicsCalls));
    engine.setEnabled(pet, true);
    EXPECT_EQ(petStarts, 1);
    EXPECT_EQ(physicsCalls.starts, 1);
    EXPECT_TRUE(engine.isRunning(physics));
}

TEST(ClosureEffectModule, DoesNothingOnceItsOwnerIsGone)
{
    Calls calls;
    auto owner = std::make_unique<QObject>();
    auto module = recordingModule(QStringLiteral("desktop-pet"), {}, owner.get(), calls);
    module->start();
    owner.reset();
    module->stop();
    module->reset();
    module->start();
    EXPECT_EQ(calls.starts, 1);
    EXPECT_EQ(calls.stops, 0);
    EXPECT_EQ(calls.resets, 0);
}

} // namespace

#include "Platform/AudioOutputLadder.h"

#include "fakes/FakeAudioOutput.h"

#include <QLoggingCategory>

#include <optional>
#include <thread>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {
struct NullRenderer final : AudioRenderer {
    void render(float *, int) noexcept override {}
};

// Three fake roads, and how often each was tried.
struct LadderFixture {
    std::vector<std::shared_ptr<FakeAudioOutput::State>> devices;
    std::vector<int> tries = std::vector<int>(3, 0);
    std::unique_ptr<AudioOutputLadder> ladder;
    NullRenderer renderer;

    LadderFixture()
    {
        std::vector<AudioOutputLadder::Road> roads;
        for (const char *name : {"pipewire", "pulse", "sdl"}) {
            auto device = std::make_shared<FakeAudioOutput::State>();
            device->beforeOpen = [this, index = devices.size()] { ++tries[index]; };
            devices.push_back(device);
            roads.push_back({QString::fromLatin1(name), std::make_unique<FakeAudioOutput>(device)});
        }
        ladder = std::make_unique<AudioOutputLadder>(std::move(roads));
    }
    bool open() { return bool(ladder->open(128, renderer)); }
};

// The lines the ladder logs while `action` runs.
QStringList logged(const std::function<void()> &action)
{
    static QStringList *lines = nullptr;
    QStringList captured;
    lines = &captured;
    QLoggingCategory::setFilterRules(QStringLiteral("plinkly.audio.info=true"));
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &message) { lines->append(message); });
    action();
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    lines = nullptr;
    return captured;
}
}

TEST(AudioOutputLadder, TakesTheFirstRoadThatOpensAndSaysWhyTheOthersWerePassedOver)
{
    LadderFixture f;
    f.devices[0]->available = false;
    f.devices[1]->available = false;
    const QStringList lines = logged([&] { EXPECT_TRUE(f.open()); });
    EXPECT_EQ(f.ladder->road(), "sdl");
    // Each road passed over is told as it fails, with the one tried next.
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "pipewire: no device; trying pulse");
    EXPECT_EQ(lines[1], "pulse: no device; trying sdl");
    EXPECT_TRUE(lines[2].contains("pipewire: no device; pulse: no device")) << lines[2].toStdString();
    EXPECT_EQ(lines[3], "sound goes through sdl");
    f.ladder->resume();
    EXPECT_TRUE(f.devices[2]->playing);

    // Reopening after idle goes straight to the road that played, quietly.
    f.ladder->close();
    f.devices[0]->available = true;
    EXPECT_TRUE(logged([&] { EXPECT_TRUE(f.open()); }).isEmpty());
    EXPECT_EQ(f.tries, (std::vector<int>{1, 1, 2}));
    EXPECT_EQ(f.ladder->road(), "sdl");
}

TEST(AudioOutputLadder, ALostRoadSendsTheNextOpenFromTheTop)
{
    LadderFixture f;
    ASSERT_TRUE(f.open());
    EXPECT_EQ(f.ladder->road(), "pipewire");

    // The server goes away while playing and is still gone: the next road takes over.
    f.devices[0]->lost = true;
    EXPECT_TRUE(f.ladder->isLost());
    f.devices[0]->available = false;
    ASSERT_TRUE(f.open());
    EXPECT_EQ(f.ladder->road(), "pulse");
    EXPECT_EQ(f.devices[0]->closes, 1);

    // It comes back: a lost stream on the second road sends the next open to the first again.
    f.devices[0]->available = true;
    f.devices[1]->lost = true;
    ASSERT_TRUE(f.open());
    EXPECT_EQ(f.ladder->road(), "pipewire");
}

TEST(AudioOutputLadder, FailsWithEveryReasonWhenNoRoadOpens)
{
    LadderFixture f;
    for (auto &device : f.devices)
        device->available = false;
    const auto result = f.ladder->open(128, f.renderer);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().message, "pipewire: no device; pulse: no device; sdl: no device");
    EXPECT_FALSE(f.ladder->isLost());
    EXPECT_EQ(f.ladder->underruns(), 0);
}

TEST(AudioOutputLadder, TheMarginReachesWhicheverRoadOpens)
{
    LadderFixture f;
    f.devices[0]->available = false;
    EXPECT_TRUE(f.ladder->setMargin(8ms));
    ASSERT_TRUE(f.open());
    EXPECT_EQ(f.devices[1]->openedMargin.load(), 8ms);

    // An open road answers for itself whether it takes a new margin while it plays.
    EXPECT_FALSE(f.ladder->setMargin(4ms));
    f.devices[1]->marginWhilePlaying = true;
    EXPECT_TRUE(f.ladder->setMargin(0ms));
    EXPECT_EQ(f.devices[1]->margin.load(), 0ms);
}

TEST(AudioOutputLadder, TheRateIsTheFirstRoadsThatCanTellOne)
{
    LadderFixture f;
    f.devices[0]->available = false;
    f.devices[1]->sampleRate = 44100;
    f.devices[2]->sampleRate = 48000;
    EXPECT_EQ(f.ladder->preferredSampleRate().value_or(0), 44100);
    f.devices[1]->available = false;
    ASSERT_TRUE(f.open());
    f.devices[0]->available = true;
    EXPECT_EQ(f.ladder->preferredSampleRate().value_or(0), 48000) << "the road that plays first";
    for (auto &device : f.devices)
        device->available = false;
    EXPECT_FALSE(f.ladder->preferredSampleRate().has_value());
}

// Closing while the first road waits on a silent server: the wait ends at once and the roads
// below it are not tried; once that is over, opens go down the ladder as before.
TEST(AudioOutputLadder, AnAbandonedOpenStopsWhereItIsAndTheNextOpenGoesOn)
{
    LadderFixture f;
    f.devices[0]->hangs = true;
    std::optional<bool> opened;
    std::thread opener([&] { opened = f.open(); });
    f.devices[0]->awaitHungWaits(1);
    f.ladder->abandonOpens(true);
    opener.join();
    EXPECT_EQ(opened, false);
    EXPECT_EQ(f.devices[0]->abandonedWaits, 1);
    EXPECT_EQ(f.tries, (std::vector<int>{1, 0, 0}));
    for (const auto &device : f.devices)
        EXPECT_TRUE(device->abandoned) << "every road gives up its waits";

    f.ladder->abandonOpens(false);
    f.devices[0]->hangs = false;
    f.devices[0]->available = false;
    ASSERT_TRUE(f.open());
    EXPECT_EQ(f.ladder->road(), "pulse");
}

// A server found silent on one road is not waited on again in the same attempt: a later road
// to the same server is passed over, and the roads after it are told which servers to keep
// away from. A server that failed at once is no reason to avoid it.
TEST(AudioOutputLadder, AServerFoundSilentIsNotWaitedOnAgainInTheSameAttempt)
{
    struct Case {
        const char *name;
        bool firstSilent;
        bool secondSilent;
        SoundServers avoidedByTheLast;
        std::vector<int> tries;
    };
    const Case cases[] = {
        {"both silent", true, true, {SoundServer::pipeWire, SoundServer::pulseAudio}, {1, 0, 1, 1}},
        {"the first silent", true, false, {SoundServer::pipeWire}, {1, 0, 1, 1}},
        {"the second silent", false, true, {SoundServer::pulseAudio}, {1, 1, 1, 1}},
        {"none silent", false, false, {}, {1, 1, 1, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        // A second road to the first road's server, between the two.
        std::vector<std::shared_ptr<FakeAudioOutput::State>> devices;
        std::vector<int> tries(4, 0);
        std::vector<AudioOutputLadder::Road> roads;
        const std::optional<SoundServer> servers[] = {SoundServer::pipeWire, SoundServer::pipeWire,
                                                      SoundServer::pulseAudio, std::nullopt};
        for (const auto &server : servers) {
            auto device = std::make_shared<FakeAudioOutput::State>();
            device->server = server;
            device->available = false;
            device->beforeOpen = [&tries, index = devices.size()] { ++tries[index]; };
            devices.push_back(device);
            roads.push_back({QStringLiteral("road %1").arg(devices.size()), std::make_unique<FakeAudioOutput>(device)});
        }
        devices[0]->silent = c.firstSilent;
        devices[2]->silent = c.secondSilent;
        devices[3]->available = true;
        AudioOutputLadder ladder(std::move(roads));
        NullRenderer renderer;
        const QStringList lines = logged([&] { ASSERT_TRUE(ladder.open(128, renderer)); });
        EXPECT_EQ(tries, c.tries);
        EXPECT_EQ(devices[3]->avoided, c.avoidedByTheLast);
        EXPECT_TRUE(lines.filter("trying road 2").size() == 1) << lines.join('\n').toStdString();

        // The next attempt begins afresh.
        ladder.close();
        for (auto &device : devices)
            device->silent = false;
        ASSERT_TRUE(ladder.open(128, renderer));
        EXPECT_TRUE(devices[3]->avoided.empty());
    }
}

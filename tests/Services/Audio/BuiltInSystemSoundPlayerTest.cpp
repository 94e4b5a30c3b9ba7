#include "Services/Audio/BuiltInSystemSoundPlayer.h"

#include "Services/ResourceBundle.h"
#include "fakes/FakeAudioOutput.h"
#include "fakes/ManualClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <cmath>

using namespace std::chrono_literals;

namespace {
struct Player {
    ManualClock clock;
    std::shared_ptr<FakeAudioOutput::State> device = std::make_shared<FakeAudioOutput::State>();
    AudioEngine *engine = nullptr;
    std::unique_ptr<BuiltInSystemSoundPlayer> player;

    Player()
    {
        auto owned = std::make_unique<AudioEngine>(2, 2000ms, std::make_unique<FakeAudioOutput>(device), clock);
        engine = owned.get();
        player = std::make_unique<BuiltInSystemSoundPlayer>(ResourceBundle::path(), std::move(owned));
    }

    float loudestOfNextTenthSecond()
    {
        engine->flush();
        const std::vector<float> buffer = device->render(4800);
        float peak = 0.0f;
        for (float sample : buffer)
            peak = std::max(peak, std::abs(sample));
        return peak;
    }
};
}

TEST(BuiltInSystemSoundPlayer, PlaysEveryBundledSystemSound)
{
    for (const char *name : {"Glass", "Pop", "Ping", "Basso", "Morse", "Hero", "Submarine", "Tink", "Blow"}) {
        Player player;
        player.player->play(QString::fromUtf8(name));
        EXPECT_GT(player.loudestOfNextTenthSecond(), 0.01f) << name;
    }
}

TEST(BuiltInSystemSoundPlayer, OtherNamesPlayNothingAndReachNoFile)
{
    for (const char *name : {"", "glass", "../SystemSounds/Glass", "Glass.wav", "/etc/passwd"}) {
        Player player;
        player.player->play(QString::fromUtf8(name));
        EXPECT_EQ(player.loudestOfNextTenthSecond(), 0.0f) << name;
    }
}

TEST(BuiltInSystemSoundPlayer, PlayReturnsWhileTheSoundServerIsSlowToTellItsRate)
{
    Player player;
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    auto answered = std::make_shared<std::atomic<bool>>(false);
    player.device->beforeRate = [gate, answered] {
        gate.wait_for(10s);
        *answered = true;
    };
    player.player->play(QStringLiteral("Glass"));
    EXPECT_FALSE(*answered);
    release.set_value();
    EXPECT_GT(player.loudestOfNextTenthSecond(), 0.01f);
}

#include "App/AppController.h"
#include "App/AppWindows.h"
#include "App/LaunchOrder.h"

#include "Services/Audio/AudioTestSounds.h"
#include "Services/Packs/SoundFiles.h"
#include "fakes/FakeAppShell.h"
#include "fakes/FakeAudioOutput.h"
#include "support/TestPlatform.h"
#include "fakes/ManualClock.h"
#include "support/TestFolders.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QThreadPool>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <map>

using namespace std::chrono_literals;

namespace {
const QString failurePrefix = QStringLiteral("Couldn’t load that library. Your previous sound is unchanged. ");

// A controller over a library in a throw-away folder whose packs hold constant samples, so the
// level a fake device renders tells which pack is playing.
struct SoundFixture {
    TestFolder folder;
    ManualClock *clock = nullptr;
    ManualScheduler *scheduler = nullptr;
    // Typing, mouse and reaction, in the order the controller makes its engines.
    std::vector<std::shared_ptr<FakeAudioOutput::State>> devices;
    std::unique_ptr<AppController> controller;

    SoundFixture()
    {
        addPack("recorded-cherry", SoundPackManifest::PackKind::keyboard, 0.1f, 0.05f);
        addPack("silly-ouchies", SoundPackManifest::PackKind::reaction, 0.3f);

        TestPlatform base(folder);
        clock = base.clock;
        scheduler = base.scheduler;
        Platform platform = std::move(base.platform);
        platform.makeAudioOutput = [this] {
            devices.push_back(std::make_shared<FakeAudioOutput::State>());
            return std::make_unique<FakeAudioOutput>(devices.back());
        };
        platform.packLibraryRoot = folder.filePath("Library");
        platform.packResourceBundle = folder.makeDir("Bundle");
        controller = std::make_unique<AppController>(std::move(platform));
        SettingsStore &settings = controller->settings();
        settings.setNormalizePackVolume(false);
        settings.setPitchVariation(0.0);
        settings.setVolumeVariation(0.0);
        settings.setStereoEnabled(false);
        settings.setKeyboardVolume(1.0);
        controller->packs().reload();
    }

    // A pack whose press sample is `press` throughout (and release `release`, when given), with
    // press samples of their own for the `extra` groups. A level of 0 writes a file that is not audio.
    void addPack(const QString &id, SoundPackManifest::PackKind kind, float press, float release = 0.0f,
                 const std::map<KeyGroup, float> &extra = {})
    {
        const QString root = folder.makeDir(kind == SoundPackManifest::PackKind::keyboard ? "Library/Keyboard Packs"
                                                                                           : "Library/Reaction Packs");
        const QString packFolder = root + "/" + id;
        SoundPackManifest manifest;
        manifest.id = id;
        manifest.name = id;
        manifest.author = "Tests";
        manifest.kind = kind;
        const KeyGroup group = kind == SoundPackManifest::PackKind::keyboard ? KeyGroup::regular : KeyGroup::reaction;
        manifest.groups[group].down = {"press.wav"};
        writeSample(packFolder + "/press.wav", press);
        if (release > 0.0f) {
            manifest.groups[group].up = {"release.wav"};
            writeSample(packFolder + "/release.wav", release);
        }
        for (const auto &[extraGroup, level] : extra) {
            const QString file = rawValue(extraGroup) + ".wav";
            manifest.groups[extraGroup].down = {file};
            writeSample(packFolder + "/" + file, level);
        }
        QDir().mkpath(packFolder);
        QFile file(packFolder + "/manifest.json");
        file.open(QIODevice::WriteOnly);
        file.write(manifest.toJson());
    }

    static void writeSample(const QString &path, float level)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(level > 0.0f ? SoundFiles::encode(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 1,
                                                     std::vector<float>(4800, level))
                                : QByteArray("not audio at all"));
    }

    static bool finish(QFuture<bool> future)
    {
        QDeadlineTimer deadline(30s);
        while (!future.isFinished() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return future.isFinished() && !future.isCanceled() && future.result();
    }

    // Level of the typing engine's first frame after one key press.
    float typingLevel(KeyPhase phase = KeyPhase::down)
    {
        devices[0]->render(48000);
        controller->handleKeyEvent({30, KeyGroup::regular, phase, 0.0, false, std::nullopt});
        controller->typingEngine().flush();
        return devices[0]->render(1)[0];
    }
};
}

TEST(AppControllerSound, MakesThreeEnginesAndOpensNoOutputBeforeASound)
{
    SoundFixture f;
    // Typing, mouse and reaction engines, then the one the system sounds play on.
    ASSERT_EQ(f.devices.size(), 4u);
    SettingsStore &settings = f.controller->settings();
    settings.setSelectedKeyboardPack("gone");
    settings.setSelectedMousePack("also-gone");
    settings.setSelectedReactionPack("missing");
    settings.setPitchVariation(0.03);
    settings.setInstalledCC0AudioUpgrade1(true);
    f.controller->start();
    ASSERT_TRUE(f.controller->isStarted());

    // Packs the library cannot supply give way to the defaults.
    EXPECT_EQ(settings.selectedKeyboardPack(), "recorded-cherry");
    EXPECT_EQ(settings.selectedMousePack(), "recorded-cherry");
    EXPECT_EQ(settings.selectedReactionPack(), "silly-ouchies");
    EXPECT_EQ(settings.pitchVariation(), 0.03);
    EXPECT_FALSE(f.controller->typingEngine().isRunning());
    EXPECT_FALSE(f.controller->mouseEngine().isRunning());
    EXPECT_FALSE(f.controller->reactionEngine().isRunning());
    for (const auto &device : f.devices)
        EXPECT_EQ(device->opens, 0);

    while (!f.controller->pendingSoundPackIDs().isEmpty())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    settings.setPitchVariation(0.0);
    EXPECT_NEAR(f.typingLevel(), 0.1, AudioTestSounds::quantum);
}

TEST(AppControllerSound, FirstStartChoosesTheDefaultPacksAndVariationsOnce)
{
    SoundFixture f;
    SettingsStore &settings = f.controller->settings();
    f.addPack("other", SoundPackManifest::PackKind::keyboard, 0.2f);
    settings.setSelectedKeyboardPack("other");
    settings.setVolumeVariation(0.1);
    f.controller->start();
    EXPECT_EQ(settings.selectedKeyboardPack(), "recorded-cherry");
    EXPECT_EQ(settings.selectedReactionPack(), "silly-ouchies");
    EXPECT_EQ(settings.pitchVariation(), 0.012);
    EXPECT_EQ(settings.volumeVariation(), 0.045);
    EXPECT_TRUE(settings.installedCC0AudioUpgrade1());
}

TEST(AppControllerSound, SelectingAPackLoadsItThenWritesTheSelection)
{
    SoundFixture f;
    f.addPack("bright", SoundPackManifest::PackKind::keyboard, 0.4f);
    f.controller->packs().reload();
    ASSERT_TRUE(f.finish(f.controller->selectSoundPack("recorded-cherry", SoundChannel::keyboard)));

    QSignalSpy pending(f.controller.get(), &AppController::pendingSoundPackIDsChanged);
    QFuture<bool> load = f.controller->selectSoundPack("bright", SoundChannel::keyboard);
    EXPECT_EQ(f.controller->pendingSoundPackIDs().value(SoundChannel::keyboard), "bright");
    EXPECT_EQ(f.controller->settings().selectedKeyboardPack(), "recorded-cherry");
    EXPECT_TRUE(f.finish(load));
    EXPECT_TRUE(f.controller->pendingSoundPackIDs().isEmpty());
    EXPECT_EQ(pending.count(), 2);
    EXPECT_EQ(f.controller->settings().selectedKeyboardPack(), "bright");
    EXPECT_FALSE(f.controller->keyboardAudioError());
    EXPECT_NEAR(f.typingLevel(), 0.4, AudioTestSounds::quantum);
}

TEST(AppControllerSound, AFailedLoadKeepsThePreviousPackAndSaysWhy)
{
    struct Case {
        const char *name;
        QString id;
        QString reason;
    };
    const std::vector<Case> cases = {
        {"not in the library", "nowhere", "Choose an available sound library."},
        {"sample is not audio", "broken",
         "The sound file couldn’t be read. It may be damaged or in an unsupported format."},
    };
    for (const Case &c : cases) {
        SoundFixture f;
        f.addPack("broken", SoundPackManifest::PackKind::keyboard, 0.0f);
        f.controller->packs().reload();
        ASSERT_TRUE(f.finish(f.controller->selectSoundPack("recorded-cherry", SoundChannel::keyboard)));

        EXPECT_FALSE(f.finish(f.controller->selectSoundPack(c.id, SoundChannel::keyboard))) << c.name;
        EXPECT_EQ(f.controller->keyboardAudioError(), failurePrefix + c.reason) << c.name;
        EXPECT_EQ(f.controller->settings().selectedKeyboardPack(), "recorded-cherry") << c.name;
        EXPECT_TRUE(f.controller->pendingSoundPackIDs().isEmpty()) << c.name;
        EXPECT_NEAR(f.typingLevel(), 0.1, AudioTestSounds::quantum) << c.name;

        EXPECT_TRUE(f.finish(f.controller->selectSoundPack("recorded-cherry", SoundChannel::keyboard)));
        EXPECT_FALSE(f.controller->keyboardAudioError()) << c.name;
    }
}

// The engine takes a finished load on its own queue; a choice made before the queue got there
// must not cost the engine the pack the controller has already committed to.
TEST(AppControllerSound, AFailedChoiceAfterACommittedOneKeepsItWhileTheEngineIsBusy)
{
    SoundFixture f;
    f.addPack("bright", SoundPackManifest::PackKind::keyboard, 0.4f);
    f.addPack("broken", SoundPackManifest::PackKind::keyboard, 0.0f);
    f.controller->packs().reload();
    ASSERT_TRUE(f.finish(f.controller->selectSoundPack("recorded-cherry", SoundChannel::keyboard)));
    f.controller->typingEngine().flush();

    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    f.devices[0]->beforeOpen = [gate] { gate.wait(); };
    f.controller->handleKeyEvent({30, KeyGroup::regular, KeyPhase::down, 0.0, false, std::nullopt});
    ASSERT_TRUE(f.finish(f.controller->selectSoundPack("bright", SoundChannel::keyboard)));
    EXPECT_FALSE(f.finish(f.controller->selectSoundPack("broken", SoundChannel::keyboard)));
    release.set_value();
    f.controller->typingEngine().flush();

    EXPECT_EQ(f.controller->settings().selectedKeyboardPack(), "bright");
    EXPECT_NEAR(f.typingLevel(), 0.4, AudioTestSounds::quantum);
}

// The output learns its rate from the sound server, which may take seconds to answer or never
// does: the launch and the event loop go on meanwhile, and the pack loads once it answers.
TEST(AppControllerSound, ASoundServerSlowToTellItsRateHoldsNeitherTheLaunchNorTheEventLoop)
{
    SoundFixture f;
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    auto answered = std::make_shared<std::atomic<bool>>(false);
    f.devices[0]->beforeRate = [gate, answered] {
        gate.wait_for(10s);
        *answered = true;
    };
    f.controller->settings().setInstalledCC0AudioUpgrade1(true);
    f.controller->start();
    EXPECT_FALSE(*answered) << "the launch waited for the rate";
    bool ticked = false;
    QTimer::singleShot(0, [&ticked] { ticked = true; });
    QDeadlineTimer deadline(5s);
    while (!ticked && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(ticked);
    EXPECT_FALSE(*answered) << "the event loop waited for the rate";

    release.set_value();
    deadline.setRemainingTime(30s);
    while (!f.controller->pendingSoundPackIDs().isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_NEAR(f.typingLevel(), 0.1, AudioTestSounds::quantum);
}

TEST(AppControllerSound, ASupersededLoadYieldsFalseAndChangesNothing)
{
    SoundFixture f;
    f.addPack("first", SoundPackManifest::PackKind::keyboard, 0.2f);
    f.addPack("second", SoundPackManifest::PackKind::keyboard, 0.3f);
    f.controller->packs().reload();
    // Whichever load ends first, the superseded one never touches the pending state.
    QStringList pending;
    QObject::connect(f.controller.get(), &AppController::pendingSoundPackIDsChanged, [&] {
        pending << f.controller->pendingSoundPackIDs().value(SoundChannel::keyboard, QStringLiteral("-"));
    });
    QFuture<bool> first = f.controller->selectSoundPack("first", SoundChannel::keyboard);
    QFuture<bool> second = f.controller->selectSoundPack("second", SoundChannel::keyboard);
    EXPECT_FALSE(f.finish(first));
    if (!second.isFinished()) {
        EXPECT_EQ(f.controller->pendingSoundPackIDs().value(SoundChannel::keyboard), "second");
    }
    EXPECT_TRUE(f.finish(second));
    EXPECT_EQ(pending.join(u','), "first,second,-");
    EXPECT_EQ(f.controller->settings().selectedKeyboardPack(), "second");
    EXPECT_NEAR(f.typingLevel(), 0.3, AudioTestSounds::quantum);
}

// Loads on all three channels still run when the controller goes: none may report to it
// afterwards, and whoever waits for one is told it did not happen.
TEST(AppControllerSound, LoadsInFlightWhenTheControllerGoesReportToNoOne)
{
    for (int run = 0; run < 20; ++run) {
        SoundFixture f;
        f.addPack("other", SoundPackManifest::PackKind::keyboard, 0.2f);
        f.controller->packs().reload();
        QFuture<bool> keyboard = f.controller->selectSoundPack("other", SoundChannel::keyboard);
        QFuture<bool> mouse = f.controller->selectSoundPack("other", SoundChannel::mouse);
        QFuture<bool> reaction = f.controller->selectSoundPack("silly-ouchies", SoundChannel::reaction);
        f.controller.reset();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        for (const QFuture<bool> &load : {keyboard, mouse, reaction}) {
            EXPECT_TRUE(load.isFinished()) << run;
            EXPECT_EQ(load.resultCount(), 0) << run;
        }
    }
}

TEST(AppControllerSound, WritingTheSelectionDirectlyLoadsThatPack)
{
    SoundFixture f;
    f.controller->settings().setInstalledCC0AudioUpgrade1(true);
    f.controller->start();
    f.addPack("bright", SoundPackManifest::PackKind::keyboard, 0.4f);
    f.controller->packs().reload();
    f.controller->settings().setSelectedKeyboardPack("bright");
    EXPECT_EQ(f.controller->pendingSoundPackIDs().value(SoundChannel::keyboard), "bright");
    while (!f.controller->pendingSoundPackIDs().isEmpty())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    f.controller->settings().setPitchVariation(0.0);
    f.controller->settings().setVolumeVariation(0.0);
    EXPECT_NEAR(f.typingLevel(), 0.4, AudioTestSounds::quantum);
}

TEST(AppControllerSound, KeyboardPreviewPlaysPressThenRelease)
{
    SoundFixture f;
    ASSERT_TRUE(f.finish(f.controller->selectSoundPack("recorded-cherry", SoundChannel::keyboard)));
    f.controller->settings().setKeyboardVolume(0.5);
    f.controller->previewKeyboard();
    f.controller->typingEngine().flush();
    EXPECT_NEAR(f.devices[0]->render(1)[0], 0.05, AudioTestSounds::quantum);
    f.devices[0]->render(48000);
    f.scheduler->advance(80ms);
    f.controller->typingEngine().flush();
    EXPECT_NEAR(f.devices[0]->render(1)[0], 0.025, AudioTestSounds::quantum);

    f.controller->settings().setKeyboardVolume(std::numeric_limits<double>::quiet_NaN());
    f.devices[0]->render(48000);
    f.controller->previewKeyboard();
    f.controller->typingEngine().flush();
    EXPECT_EQ(f.devices[0]->render(1)[0], 0.0f);
}

TEST(AppControllerSound, ReactionPreviewAndTapsUseTheReactionPack)
{
    SoundFixture f;
    ASSERT_TRUE(f.finish(f.controller->selectSoundPack("silly-ouchies", SoundChannel::reaction)));
    f.controller->settings().setReactionVolume(1.0);
    f.controller->previewReaction();
    f.controller->reactionEngine().flush();
    EXPECT_NEAR(f.devices[2]->render(1)[0], 0.3, AudioTestSounds::quantum);

    f.devices[2]->render(48000);
    f.controller->settings().setSlapEnabled(false);
    f.controller->handleImpact(1.0);
    f.controller->reactionEngine().flush();
    EXPECT_EQ(f.devices[2]->render(1)[0], 0.0f);
}

TEST(AppControllerSound, ClicksPlayTheClickPackUnlessSuppressed)
{
    SoundFixture f;
    ASSERT_TRUE(f.finish(f.controller->selectSoundPack("recorded-cherry", SoundChannel::mouse)));
    EXPECT_EQ(f.controller->settings().selectedMousePack(), "recorded-cherry");
    f.controller->settings().setMouseEnabled(true);
    f.controller->settings().setMouseVolume(1.0);
    f.controller->setClickSoundsSuppressed(true);
    f.controller->handleMouseClick(KeyGroup::mouseLeft);
    f.controller->mouseEngine().flush();
    EXPECT_FALSE(f.controller->mouseEngine().isRunning());

    f.controller->setClickSoundsSuppressed(false);
    f.controller->handleMouseClick(KeyGroup::mouseLeft);
    f.controller->mouseEngine().flush();
    EXPECT_NEAR(f.devices[1]->render(1)[0], 0.1, 0.1 * 0.061);
}

// A launch listens first: the effects (the pet among them) and the first window come once the
// keyboard pack can be heard.
TEST(AppControllerSound, ALaunchShowsItsWindowsOnceTheFirstKeyCanBeHeard)
{
    SoundFixture f;
    AppWindows windows(*f.controller);
    QSignalSpy onboarding(f.controller.get(), &AppController::onboardingRequested);
    QSignalSpy controlWindow(f.controller.get(), &AppController::controlPanelRequested);
    const auto windowsShown = [&] { return onboarding.count() + controlWindow.count(); };
    LaunchOrder::start(*f.controller, windows);
    ASSERT_TRUE(f.controller->isStarted());
    EXPECT_EQ(f.controller->pendingSoundPackIDs().value(SoundChannel::keyboard), "recorded-cherry");
    EXPECT_EQ(windowsShown(), 0);
    EXPECT_FALSE(f.controller->pet().isVisible());

    QDeadlineTimer deadline(30s);
    while (!f.controller->pendingSoundPackIDs().isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(windowsShown(), 1);
    EXPECT_TRUE(f.controller->pet().isVisible());
    f.controller->start();
    EXPECT_EQ(windowsShown(), 1) << "a later start does nothing";
}

TEST(AppControllerSound, AMissingClickPackFollowsTheKeyboardChoice)
{
    SoundFixture f;
    f.addPack("bright", SoundPackManifest::PackKind::keyboard, 0.4f);
    f.controller->packs().reload();
    SettingsStore &settings = f.controller->settings();
    settings.setInstalledCC0AudioUpgrade1(true);
    settings.setSelectedKeyboardPack("bright");
    settings.setSelectedMousePack("gone");
    f.controller->start();
    EXPECT_EQ(settings.selectedKeyboardPack(), "bright");
    EXPECT_EQ(settings.selectedMousePack(), "bright");
}

TEST(AppControllerSound, ButtonsWithoutSamplesOfTheirOwnBorrowTheLeftClick)
{
    SoundFixture f;
    f.addPack("lefty", SoundPackManifest::PackKind::keyboard, 0.1f, 0.0f, {{KeyGroup::mouseLeft, 0.5f}});
    f.addPack("full", SoundPackManifest::PackKind::keyboard, 0.1f, 0.0f,
              {{KeyGroup::mouseLeft, 0.5f}, {KeyGroup::mouseRight, 0.3f}});
    f.controller->packs().reload();
    SettingsStore &settings = f.controller->settings();
    settings.setMouseEnabled(true);
    settings.setMouseVolume(1.0);
    const struct {
        const char *pack;
        KeyGroup button;
        float level;
    } cases[] = {
        {"lefty", KeyGroup::mouseLeft, 0.5f}, {"lefty", KeyGroup::mouseRight, 0.5f},
        {"lefty", KeyGroup::mouseOther, 0.5f}, {"full", KeyGroup::mouseRight, 0.3f},
        {"full", KeyGroup::mouseOther, 0.5f}, {"recorded-cherry", KeyGroup::mouseRight, 0.1f},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(f.finish(f.controller->selectSoundPack(c.pack, SoundChannel::mouse))) << c.pack;
        f.devices[1]->render(48000);
        f.controller->handleMouseClick(c.button);
        f.controller->mouseEngine().flush();
        EXPECT_NEAR(f.devices[1]->render(1)[0], c.level, c.level * 0.061) << c.pack << " " << rawValue(c.button).toStdString();
    }
}

TEST(AppControllerSound, AClickPackThatFailsIsReportedOnTheMouseChannelOnly)
{
    SoundFixture f;
    f.addPack("broken", SoundPackManifest::PackKind::keyboard, 0.0f);
    f.controller->packs().reload();
    ASSERT_TRUE(f.finish(f.controller->selectSoundPack("recorded-cherry", SoundChannel::mouse)));
    QSignalSpy keyboardErrors(f.controller.get(), &AppController::keyboardAudioErrorChanged);
    QSignalSpy mouseErrors(f.controller.get(), &AppController::mouseAudioErrorChanged);

    EXPECT_FALSE(f.finish(f.controller->selectSoundPack("broken", SoundChannel::mouse)));
    EXPECT_TRUE(f.controller->mouseAudioError().value_or(QString()).startsWith(failurePrefix));
    EXPECT_FALSE(f.controller->keyboardAudioError());
    EXPECT_EQ(mouseErrors.count(), 1);
    EXPECT_EQ(keyboardErrors.count(), 0);
    EXPECT_EQ(f.controller->settings().selectedMousePack(), "recorded-cherry");
}

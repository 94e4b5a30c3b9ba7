#include "App/AppController.h"
#include "Effects/Overlays/ReactionCardView.h"
#include "Effects/Overlays/ScreenshotFlashView.h"
#include "Effects/Overlays/StatsOverlayView.h"
#include "Effects/Pet/PetPresentation.h"
#include "Effects/Pet/View/DesktopPetView.h"
#include "Effects/Pet/View/PetWindow.h"
#include "fakes/FakeAppShell.h"
#include "fakes/FakeInputCapture.h"
#include "fakes/FakeLidAngleReading.h"
#include "fakes/FakeOverlayWindowSupport.h"
#include "fakes/FakePermissionProbe.h"
#include "support/TestPlatform.h"
#include "fakes/FakeReactionSources.h"
#include "fakes/FakeSecureInputSource.h"
#include "fakes/FakeSystemSoundPlayer.h"
#include "fakes/ManualClock.h"
#include "support/TestFolders.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QSignalSpy>

#include <linux/input-event-codes.h>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

template <typename Fake, typename Interface>
Fake *install(std::unique_ptr<Interface> &slot)
{
    auto fake = std::make_unique<Fake>();
    Fake *raw = fake.get();
    slot = std::move(fake);
    return raw;
}

// A controller whose platform is made of fakes the test can drive, started with onboarding
// done so no window opens.
struct EffectsRig {
    TestFolder folder;
    ManualClock *clock = nullptr;
    ManualScheduler *scheduler = nullptr;
    FakePermissionProbe *probe = nullptr;
    FakeInputCapture *capture = nullptr;
    FakePowerSource *power = nullptr;
    FakeSleepMonitor *sleep = nullptr;
    FakeDisplayWatcher *displays = nullptr;
    FakeDirectoryWatcher *screenshots = nullptr;
    FakeLidAngleReading *lidSensor = nullptr;
    FakeSecureInputSource *secureInput = nullptr;
    FakeSystemSoundPlayer sounds;
    std::unique_ptr<AppController> controller;

    explicit EffectsRig(bool permission = true, bool lidSensorPresent = true)
    {
        TestPlatform base(folder);
        clock = base.clock;
        scheduler = base.scheduler;
        Platform platform = std::move(base.platform);
        auto fakeProbe = std::make_unique<FakePermissionProbe>();
        probe = fakeProbe.get();
        probe->inputGranted = permission;
        platform.permissionProbe = std::move(fakeProbe);
        auto fakeCapture = std::make_unique<FakeInputCapture>();
        capture = fakeCapture.get();
        capture->available = {{InputCaptureLevel::eventTap, true}};
        platform.inputCapture = std::move(fakeCapture);
        auto fakeSecureInput = std::make_unique<FakeSecureInputSource>();
        secureInput = fakeSecureInput.get();
        platform.secureInput = std::move(fakeSecureInput);
        if (lidSensorPresent) {
            platform.makeLidAngleReader = [this] {
                auto sensor = std::make_unique<FakeLidAngleReading>();
                lidSensor = sensor.get();
                return sensor;
            };
        }
        ReactionSources &reactions = platform.reactions;
        power = install<FakePowerSource>(reactions.power);
        sleep = install<FakeSleepMonitor>(reactions.sleep);
        displays = install<FakeDisplayWatcher>(reactions.displays);
        screenshots = install<FakeDirectoryWatcher>(reactions.screenshots);
        reactions.mounts = std::make_unique<FakeMountWatcher>();
        reactions.downloads = std::make_unique<FakeDirectoryWatcher>();
        reactions.overlays = std::make_unique<FakeOverlayWindowSupport>();
        reactions.downloadsFolder = folder.makeDir("Downloads");
        reactions.screenshotFolder = ScreenshotLocation::Folder{folder.makeDir("Pictures/Screenshots"), true};

        controller = std::make_unique<AppController>(std::move(platform));
        controller->overlays().setSoundPlayer(&sounds);
        settings().setHasCompletedOnboarding(true);
    }

    SettingsStore &settings() { return controller->settings(); }

    template <typename View>
    QList<View *> open() const
    {
        QList<View *> views;
        for (OverlayPanel *panel : controller->overlays().panels()) {
            if (auto *view = qobject_cast<View *>(panel))
                views.append(view);
        }
        return views;
    }
};

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

TEST(AppControllerEffects, TheTenModulesRunAsTheirSettingsPauseAndCapabilitiesAllow)
{
    EffectsRig rig;
    EffectEngine &effects = rig.controller->effects();
    EXPECT_TRUE(effects.runningEffects().isEmpty());
    rig.controller->start();

    // Defaults: no motion sensor, so tap reactions wait; lid dance and cursor effects are off.
    EXPECT_EQ(sorted(effects.runningEffects()),
              QStringList({"arrival-reactions", "desktop-pet", "keyboard-sounds", "screenshot-reactions", "system-reactions"}));

    rig.settings().setCursorEffectsEnabled(true);
    rig.settings().setLidDanceEnabled(true);
    rig.settings().setMouseEnabled(true);
    rig.settings().setPhysicsEffectsEnabled(true);
    rig.settings().setSlapEnabled(true);
    EXPECT_EQ(effects.runningEffects().size(), 9);
    EXPECT_FALSE(effects.isRunning(EffectID(QStringLiteral("tap-reactions"))));
    EXPECT_TRUE(rig.controller->lidAngle().isRunning());
    EXPECT_TRUE(rig.controller->cursorEffects().showsRipples());

    rig.settings().setEffectsPaused(true);
    EXPECT_TRUE(effects.runningEffects().isEmpty());
    EXPECT_FALSE(rig.controller->lidAngle().isRunning());
    EXPECT_FALSE(rig.controller->systemReactions().isRunning());
    rig.settings().setEffectsPaused(false);
    EXPECT_EQ(effects.runningEffects().size(), 9);

    rig.settings().setScreenshotReactionsEnabled(false);
    EXPECT_FALSE(rig.controller->screenshotReactions().isObserving());
}

TEST(AppControllerEffects, CapabilitiesKeepModulesWithoutWhatTheyNeedFromRunning)
{
    EffectsRig rig(false, false);
    rig.settings().setCursorEffectsEnabled(true);
    rig.settings().setLidDanceEnabled(true);
    rig.controller->start();
    EffectEngine &effects = rig.controller->effects();
    EXPECT_FALSE(effects.isRunning(EffectID(QStringLiteral("cursor-effects"))));
    EXPECT_FALSE(effects.isRunning(EffectID(QStringLiteral("lid-dance"))));
    EXPECT_TRUE(effects.isEnabled(EffectID(QStringLiteral("cursor-effects"))));

    rig.probe->inputGranted = true;
    rig.controller->retryInputMonitoring();
    EXPECT_TRUE(effects.isRunning(EffectID(QStringLiteral("cursor-effects"))));
}

TEST(AppControllerEffects, PowerEventsBecomeCardsWithSoundsUnderTheSettingsGates)
{
    EffectsRig rig;
    rig.controller->start();
    QSignalSpy changes(rig.controller.get(), &AppController::changed);
    rig.power->send(PowerSnapshot{50, false, false});
    rig.settings().setChargingVisualStyleID(QStringLiteral("quiet"));
    rig.power->send(PowerSnapshot{50, true, true});
    ASSERT_EQ(rig.open<ReactionCardView>().size(), 1);
    EXPECT_EQ(rig.open<ReactionCardView>().front()->card().title, "Charger connected");
    EXPECT_EQ(rig.open<ReactionCardView>().front()->card().flourish, ReactionCard::Flourish::pulse);
    EXPECT_EQ(rig.sounds.played, QStringList{"Glass"});
    EXPECT_EQ(rig.controller->systemReactions().lastEventText(), "Charger connected");
    EXPECT_GT(changes.count(), 0);

    rig.settings().setBatteryReactionsEnabled(false);
    rig.power->send(PowerSnapshot{50, false, false});
    rig.sleep->send(SleepTransition::didWake);
    EXPECT_EQ(rig.sounds.played, QStringList({"Glass", "Morse"}));

    rig.settings().setWakeReactionsEnabled(false);
    rig.sleep->send(SleepTransition::willSleep);
    rig.settings().setSystemReactionsEnabled(false);
    rig.settings().setBatteryReactionsEnabled(true);
    rig.power->send(PowerSnapshot{50, true, false});
    EXPECT_EQ(rig.sounds.played.size(), 2);
    EXPECT_EQ(rig.controller->systemReactions().snapshot(), (PowerSnapshot{50, true, false}));
}

TEST(AppControllerEffects, ArrivalsAndScreenshotsReachTheirOverlays)
{
    EffectsRig rig;
    rig.controller->start();
    rig.settings().setDeviceReactionsEnabled(false);
    EXPECT_FALSE(rig.controller->arrivalReactions().devicesEnabled());
    rig.displays->send(DisplayChange::connected);
    EXPECT_TRUE(rig.sounds.played.isEmpty());
    rig.settings().setDeviceReactionsEnabled(true);
    rig.displays->send(DisplayChange::connected);
    EXPECT_EQ(rig.sounds.played, QStringList{"Ping"});
    EXPECT_EQ(rig.open<ReactionCardView>().front()->card().title, "Display connected");

    rig.screenshots->arrive(QStringLiteral("Screenshot from 2026-03-14.png"));
    EXPECT_FALSE(rig.open<ScreenshotFlashView>().isEmpty());
    EXPECT_EQ(rig.sounds.played.size(), 1);
    EXPECT_EQ(rig.controller->screenshotReactions().lastFilename(), "Screenshot from 2026-03-14.png");
}

TEST(AppControllerEffects, LidPreviewShowsForTwoSecondsThenHandsBackToTheSensor)
{
    EffectsRig rig;
    rig.settings().setLidDanceStyleID(QStringLiteral("orbit"));
    rig.controller->start();
    const LidMotionPresentation &band = rig.controller->overlays().lidMotion();

    rig.controller->previewLidDance();
    EXPECT_TRUE(band.isVisible());
    EXPECT_DOUBLE_EQ(band.progress(), 0.55);
    EXPECT_EQ(band.angle(), 85.0);
    EXPECT_EQ(band.style(), LidDanceStyle::orbit);

    // A second preview restarts the two seconds.
    rig.scheduler->advance(1500ms);
    rig.settings().setLidDanceStyleID(QStringLiteral("no-such-style"));
    rig.controller->previewLidDance();
    EXPECT_EQ(band.style(), LidDanceStyle::tide);
    rig.scheduler->advance(1500ms);
    EXPECT_TRUE(band.isVisible());
    rig.scheduler->advance(600ms);
    EXPECT_FALSE(band.isVisible());

    // With the lid dance on, the band follows the sensor once a preview ends.
    rig.settings().setLidDanceStyleID(QStringLiteral("prism"));
    rig.settings().setLidDanceEnabled(true);
    rig.lidSensor->queued = {75};
    rig.scheduler->advance(200ms);
    EXPECT_TRUE(band.isVisible());
    EXPECT_DOUBLE_EQ(band.progress(), 0.5);
    rig.controller->previewLidDance();
    EXPECT_EQ(band.angle(), 75.0);
    EXPECT_DOUBLE_EQ(band.progress(), 0.55);
    rig.scheduler->advance(2100ms);
    EXPECT_DOUBLE_EQ(band.progress(), 0.5);
    EXPECT_EQ(band.style(), LidDanceStyle::prism);
    // The lid has rested since: the band is gone until it moves again.
    EXPECT_FALSE(band.isVisible());
    rig.lidSensor->queued = {70};
    rig.scheduler->advance(200ms);
    EXPECT_TRUE(band.isVisible());
    rig.scheduler->advance(1200ms);
    EXPECT_TRUE(band.isVisible());
    rig.scheduler->advance(400ms);
    EXPECT_FALSE(band.isVisible());
}

TEST(AppControllerEffects, TheHudShowsWhileStatisticsAndItsSettingAreOnAndKeepsItsPlace)
{
    EffectsRig rig;
    rig.settings().setStatsOverlayEnabled(true);
    rig.controller->start();
    StatsOverlayController &hud = rig.controller->statsOverlay();
    EXPECT_FALSE(hud.isVisible());
    rig.settings().setInteractionStatsEnabled(true);
    ASSERT_TRUE(hud.isVisible());

    rig.settings().setStatsOverlayX(0);
    rig.settings().setStatsOverlayY(0);
    EXPECT_EQ(hud.placement(), (PetPlacement{0, 0}));
    hud.view()->move(hud.view()->pos() + QPoint(40, -40));
    hud.view()->onMoved();
    EXPECT_GT(rig.settings().statsOverlayX(), 0);
    EXPECT_GT(rig.settings().statsOverlayY(), 0);

    rig.settings().setStatsOverlayEnabled(false);
    EXPECT_FALSE(hud.isVisible());
}

TEST(AppControllerEffects, TheHudShowsTheLastTypedKeyOnlyWhileItsSettingIsOn)
{
    EffectsRig rig;
    rig.settings().setInteractionStatsEnabled(true);
    rig.settings().setStatsOverlayEnabled(true);
    rig.controller->start();
    FakeInputSource *keys = rig.capture->sourcesByClass.at({InputCaptureLevel::eventTap, InputDeviceClass::keyboard});
    const StatsOverlayPresentation &presentation = rig.controller->statsOverlay().presentation();
    keys->send(KEY_H, 1);
    keys->send(KEY_H, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(presentation.lastKeyLabel(), "H");

    // Typed into a password field: no label reaches the HUD.
    rig.secureInput->active = true;
    keys->send(KEY_K, 1);
    keys->send(KEY_K, 0);
    QCoreApplication::processEvents();
    EXPECT_NE(presentation.lastKeyLabel(), "K");
    rig.secureInput->active = false;
    keys->send(KEY_H, 1);
    keys->send(KEY_H, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(presentation.lastKeyLabel(), "H");

    // A label already on its way is dropped when the setting goes off before it arrives.
    keys->send(KEY_J, 1);
    rig.settings().setStatsOverlayEnabled(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(presentation.lastKeyLabel(), "H");
}

TEST(AppControllerEffects, ClicksAreCountedByTheClickObserverWhileStatisticsAreOn)
{
    EffectsRig rig;
    rig.settings().setInteractionStatsEnabled(true);
    rig.controller->start();
    FakeInputSource *clicks = rig.capture->sourcesByClass.at({InputCaptureLevel::eventTap, InputDeviceClass::mouse});
    clicks->send(BTN_LEFT, 1);
    clicks->send(BTN_LEFT, 0);
    clicks->send(BTN_RIGHT, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.controller->stats().snapshot().clicks, 2u);

    rig.settings().setEffectsPaused(true);
    EXPECT_FALSE(rig.controller->cursorEffects().isObserving());
}

namespace {
// Presses the pet's figure and drags it by (dx, dy) in Qt coordinates.
void dragPet(DesktopPetController &pet, QPoint by)
{
    auto *window = dynamic_cast<PetWindow *>(pet.panel());
    ASSERT_NE(window, nullptr);
    DesktopPetView &view = window->view();
    const QPointF local = view.figureFrame().center();
    QPointF global = view.mapToGlobal(local);
    const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, view.mapFromGlobal(at), at, Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &event);
    };
    send(QEvent::MouseButtonPress, global, Qt::LeftButton);
    for (int step = 1; step <= 10; ++step)
        send(QEvent::MouseMove, global + QPointF(by) * step / 10, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, global + QPointF(by), Qt::NoButton);
}
}

TEST(AppControllerPet, ThePetFollowsItsSettingsBothWays)
{
    EffectsRig rig;
    rig.settings().setPetName(QStringLiteral("  Flipper  "));
    rig.settings().setPetFaceID(QStringLiteral("grumpy"));
    rig.controller->start();
    DesktopPetController &pet = rig.controller->pet();
    EXPECT_TRUE(pet.isVisible());
    EXPECT_EQ(pet.presentation().name(), "Flipper");
    EXPECT_EQ(pet.presentation().faceID(), "grumpy");

    rig.settings().setPetStayPut(true);
    EXPECT_TRUE(pet.presentation().staysPut());
    rig.settings().setPetPositionX(0.25);
    EXPECT_EQ(pet.savedPlacement(), (PetPlacement{0.25, 0}));
    rig.settings().setPetPositionY(std::nan(""));
    EXPECT_EQ(pet.savedPlacement(), (PetPlacement{1, 0})) << "a non-finite placement gives the default";

    // A drop writes both halves of the new placement; neither half moves the pet on its own.
    rig.settings().setPetPositionY(0.5);
    const QRect before = dynamic_cast<PetWindow *>(pet.panel())->geometry();
    std::vector<QRect> framesDuringWrite;
    QObject::connect(&rig.settings(), &SettingsStore::petPositionXChanged, [&] {
        framesDuringWrite.push_back(dynamic_cast<PetWindow *>(pet.panel())->geometry());
    });
    dragPet(pet, {-100, -50});
    const QRect after = dynamic_cast<PetWindow *>(pet.panel())->geometry();
    EXPECT_EQ(after.topLeft(), before.topLeft() + QPoint(-100, -50));
    EXPECT_EQ(rig.settings().petPositionX(), pet.savedPlacement().x);
    EXPECT_EQ(rig.settings().petPositionY(), pet.savedPlacement().y);
    ASSERT_EQ(framesDuringWrite.size(), 1u);
    EXPECT_EQ(framesDuringWrite[0], after);
    EXPECT_EQ(pet.presentation().mood(), PetMood::celebrating);

    rig.settings().setPetEnabled(false);
    EXPECT_FALSE(pet.isVisible());
    EXPECT_FALSE(pet.panel() && dynamic_cast<PetWindow *>(pet.panel())->isVisible());
}

TEST(AppControllerPet, MenuCommandsChangeTheirSettingsOrOpenTheirPage)
{
    EffectsRig rig;
    rig.controller->start();
    SettingsStore &s = rig.settings();
    struct Case {
        PetAction action;
        std::function<bool()> read;
    };
    const Case toggles[] = {
        {PetAction::togglePause, [&] { return s.effectsPaused(); }},
        {PetAction::toggleTyping, [&] { return s.typingEnabled(); }},
        {PetAction::toggleTapSounds, [&] { return s.mouseEnabled(); }},
        {PetAction::toggleStayPut, [&] { return s.petStayPut(); }},
        {PetAction::hide, [&] { return s.petEnabled(); }},
    };
    for (const Case &c : toggles) {
        const bool before = c.read();
        rig.controller->handlePetAction(c.action);
        EXPECT_NE(c.read(), before) << qPrintable(rawValue(c.action));
    }

    QSignalSpy pages(rig.controller.get(), &AppController::controlPanelRequested);
    for (PetAction action : {PetAction::openFocus, PetAction::configureFocus, PetAction::openSounds,
                             PetAction::openReactions, PetAction::openSettings})
        rig.controller->handlePetAction(action);
    QList<SettingsPage> requested;
    for (const auto &arguments : pages)
        requested.append(arguments.at(0).value<SettingsPage>());
    EXPECT_EQ(requested, (QList<SettingsPage>{SettingsPage::focus, SettingsPage::focus, SettingsPage::sounds,
                                              SettingsPage::reactions, SettingsPage::home}));

    PetPresentation &pet = rig.controller->pet().presentation();
    const QString before = pet.message();
    rig.controller->handlePetAction(PetAction::pepTalk);
    EXPECT_EQ(pet.mood(), PetMood::celebrating);
    EXPECT_NE(pet.message(), before);
    EXPECT_EQ(pet.reactionLine(), pet.message());
}

TEST(AppControllerPet, DesktopPhysicsPosesThePetAndGivesItALine)
{
    EffectsRig rig;
    rig.settings().setPhysicsEffectsEnabled(true);
    rig.settings().setEffectsPaused(true);
    rig.controller->start();
    PetPresentation &pet = rig.controller->pet().presentation();
    rig.controller->handlePetAction(PetAction::desktopGravity);
    EXPECT_FALSE(rig.settings().effectsPaused());
    EXPECT_EQ(pet.physicsMode(), ChaosMode::gravity);
    EXPECT_EQ(pet.mood(), PetMood::celebrating);
    EXPECT_EQ(pet.reactionLine(), "Everything’s falling! I meant to do that.");

    rig.controller->chaosEffects().stop();
    EXPECT_FALSE(pet.physicsMode());
    rig.settings().setPetEnabled(false);
    rig.controller->handleChaosEffect(ChaosMode::vortex);
    EXPECT_NE(pet.message(), "Tiny black hole. Totally under control.");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(AppControllerPet, AFocusSessionTalksThroughThePetAndShowsItsCountdown)
{
    EffectsRig rig;
    rig.controller->start();
    PetPresentation &pet = rig.controller->pet().presentation();
    rig.controller->handlePetAction(PetAction::focus25);
    EXPECT_EQ(pet.mood(), PetMood::focused);
    EXPECT_EQ(pet.focusRemainingSeconds(), 1500);
    EXPECT_EQ(pet.focusTimeLabel(), "25:00");
    rig.controller->handlePetAction(PetAction::stopFocus);
    EXPECT_FALSE(pet.focusRemainingSeconds());
    EXPECT_FALSE(pet.focusIsPaused());
}

TEST(AppControllerPet, ReactionsPinBadgesAndTheLidBendsThePet)
{
    EffectsRig rig;
    rig.controller->start();
    PetPresentation &pet = rig.controller->pet().presentation();
    rig.screenshots->arrive(QStringLiteral("Screenshot from 2026-03-14.png"));
    EXPECT_EQ(pet.moment(), PetMoment::camera);
    rig.scheduler->advance(1200ms);
    EXPECT_FALSE(pet.moment());
    rig.controller->handlePetAction(PetAction::previewCharge);
    EXPECT_EQ(pet.moment(), PetMoment::power);
    rig.displays->send(DisplayChange::connected);
    EXPECT_EQ(pet.moment(), PetMoment::package);

    rig.settings().setLidDanceEnabled(true);
    ASSERT_NE(rig.lidSensor, nullptr);
    rig.lidSensor->queued = {75};
    rig.scheduler->advance(200ms);
    EXPECT_DOUBLE_EQ(pet.lidProgress(), 0.5);
}

TEST(AppControllerEffects, DesktopPhysicsRunsWhileItsSettingIsOnAndEffectsAreNotPaused)
{
    EffectsRig rig;
    ChaosEffectController &chaos = rig.controller->chaosEffects();
    QSignalSpy relayed(rig.controller.get(), &AppController::changed);
    rig.controller->start();
    chaos.trigger(ChaosMode::gravity);
    EXPECT_FALSE(chaos.isActive());

    rig.settings().setPhysicsEffectsEnabled(true);
    chaos.trigger(ChaosMode::gravity);
    EXPECT_TRUE(chaos.isActive());
    EXPECT_FALSE(chaos.panels().empty());
    EXPECT_GT(relayed.count(), 0);

    // Resetting every effect ends the run but leaves the effect on; pausing switches it off.
    rig.controller->effects().resetAll();
    EXPECT_FALSE(chaos.isActive());
    EXPECT_TRUE(chaos.isEnabled());
    chaos.trigger(ChaosMode::vortex);
    rig.settings().setEffectsPaused(true);
    EXPECT_FALSE(chaos.isActive());
    EXPECT_FALSE(chaos.isEnabled());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(AppControllerEffects, EscTypedInAnyApplicationEndsADesktopPhysicsRun)
{
    EffectsRig rig;
    rig.settings().setPhysicsEffectsEnabled(true);
    rig.controller->start();
    ChaosEffectController &chaos = rig.controller->chaosEffects();
    chaos.trigger(ChaosMode::gravity);
    ASSERT_TRUE(chaos.isActive());
    // The run's own keyboard listener is the newest global source.
    FakeInputSource *keys = rig.capture->sources.at(InputCaptureLevel::eventTap);
    ASSERT_TRUE(keys->running);

    keys->send(30, 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(chaos.isActive());
    keys->send(1, 1);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(chaos.isActive());
    EXPECT_EQ(rig.capture->sources.count(InputCaptureLevel::eventTap), 0u);

    // A second trigger while a run is on screen stops the listener with the old run and
    // starts it again for the new one.
    chaos.trigger(ChaosMode::gravity);
    const int made = rig.capture->madeCount;
    chaos.trigger(ChaosMode::vortex);
    ASSERT_EQ(chaos.activeMode(), ChaosMode::vortex);
    EXPECT_EQ(rig.capture->madeCount, made + 1);
    ASSERT_EQ(rig.capture->sources.count(InputCaptureLevel::eventTap), 1u);
    rig.capture->sources.at(InputCaptureLevel::eventTap)->send(1, 1);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(chaos.isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

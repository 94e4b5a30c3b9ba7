#include "App/AppController.h"
#include "Effects/ScreenToys/ScreenToyCanvasView.h"
#include "fakes/FakeGlobalPointer.h"
#include "fakes/FakeInputCapture.h"
#include "fakes/FakeOverlayWindowSupport.h"
#include "fakes/FakePermissionProbe.h"
#include "fakes/FakeReactionSources.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>

namespace {
// An application controller whose screen toys run on fakes, with input access granted.
struct ToysRig {
    TestFolder folder;
    FakePermissionProbe *probe = nullptr;
    FakeGlobalPointer *pointer = nullptr;
    std::unique_ptr<AppController> controller;

    ToysRig()
    {
        TestPlatform base(folder);
        Platform platform = std::move(base.platform);
        auto fakeProbe = std::make_unique<FakePermissionProbe>();
        probe = fakeProbe.get();
        probe->inputGranted = true;
        platform.permissionProbe = std::move(fakeProbe);
        auto capture = std::make_unique<FakeInputCapture>();
        capture->available = {{InputCaptureLevel::globalFallback, true}};
        platform.inputCapture = std::move(capture);
        platform.reactions.overlays = std::make_unique<FakeOverlayWindowSupport>();
        auto fakePointer = std::make_unique<FakeGlobalPointer>();
        pointer = fakePointer.get();
        platform.screenToys.pointer = std::move(fakePointer);
        platform.screenToys.sleep = std::make_unique<FakeSleepMonitor>();
        controller = std::make_unique<AppController>(std::move(platform));
        controller->permissions().refresh();
    }

    ScreenToyController &toys() { return controller->screenToys(); }
    bool clicksQuiet() { return controller->soundRouter().mouseTuning().suppressed; }
};
}

TEST(AppControllerScreenToys, FollowsTheToySettingsAndQuietsClicksWhileAToyIsOut)
{
    ToysRig rig;
    rig.controller->settings().setToyVolume(1.25);
    rig.controller->settings().setToyHandToneID(QStringLiteral("deep"));
    EXPECT_EQ(rig.toys().volume(), 1.25f);
    EXPECT_EQ(rig.toys().handTone(), ScreenToyHandTone::deep);
    rig.controller->settings().setToyHandToneID(QStringLiteral("teal"));
    EXPECT_EQ(rig.toys().handTone(), ScreenToyHandTone::original);

    ASSERT_TRUE(rig.toys().equip(ScreenToyKind::blaster));
    EXPECT_TRUE(rig.clicksQuiet());
    EXPECT_TRUE(rig.pointer->isStarted());
    rig.toys().stop();
    EXPECT_FALSE(rig.clicksQuiet());
}

TEST(AppControllerScreenToys, PausingLosingInputAccessFocusingOrResettingPutsTheToyAway)
{
    struct Case {
        const char *name;
        std::function<void(ToysRig &)> reset;
    };
    const Case cases[] = {
        {"effects paused", [](ToysRig &rig) { rig.controller->settings().setEffectsPaused(true); }},
        {"input access lost",
         [](ToysRig &rig) {
             rig.probe->inputGranted = false;
             rig.controller->permissions().refresh();
         }},
        {"a focus session starting", [](ToysRig &rig) { rig.controller->startFocusSession(); }},
        {"visuals reset", [](ToysRig &rig) { rig.controller->resetVisuals(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ToysRig rig;
        ASSERT_TRUE(rig.toys().equip(ScreenToyKind::waterGun));
        c.reset(rig);
        EXPECT_EQ(rig.toys().activeToy(), std::nullopt);
        EXPECT_TRUE(rig.toys().canvases().empty());
        EXPECT_FALSE(rig.clicksQuiet());
    }
}

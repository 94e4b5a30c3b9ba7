// The Toys page: without input access, with a toy in hand and marks on screen, and resting
// during a focus session.
#include "SceneRig.h"

#include "Views/ControlWindow.h"
#include "fakes/FakeGlobalPointer.h"
#include "fakes/FakePermissionProbe.h"

#include <QCoreApplication>
#include <QDir>

namespace {

FakeGlobalPointer *scenePointer = nullptr;

void grantedInput(Platform &platform)
{
    if (qEnvironmentVariableIsEmpty("PLINKLY_RESOURCES"))
        qputenv("PLINKLY_RESOURCES",
                QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../../KnockwellResources")).toLocal8Bit());
    auto probe = std::make_unique<FakePermissionProbe>();
    probe->inputGranted = true;
    platform.permissionProbe = std::move(probe);
    auto pointer = std::make_unique<FakeGlobalPointer>();
    scenePointer = pointer.get();
    platform.screenToys.pointer = std::move(pointer);
}

const SceneRegistrar noAccess{QStringLiteral("toys-page/no-input-access"), [](SceneRig &rig) {
    ControlWindow &window = rig.controlWindow(SettingsPage::toys);
    rig.app().screenToys().equip(ScreenToyKind::blaster);
    rig.capture(QStringLiteral("toys-page/no-input-access"), &window);
}};

// The toy's canvas lies over the whole screen, so the window's own pixels are saved.
const SceneRegistrar active{QStringLiteral("toys-page/water-gun-active"), [](SceneRig &rig) {
    rig.app().permissions().refresh();
    ControlWindow &window = rig.controlWindow(SettingsPage::toys);
    ScreenToyController &toys = rig.app().screenToys();
    toys.equip(ScreenToyKind::waterGun);
    for (QPoint at : {QPoint(300, 300), QPoint(900, 500)}) {
        scenePointer->moveTo(at);
        scenePointer->press();
        scenePointer->release();
    }
    rig.captureContent(QStringLiteral("toys-page/water-gun-active"), &window);
    toys.stop();
}, {QStringLiteral("toyHandToneID=tan"), QStringLiteral("toyVolume=1.2")}, grantedInput};

const SceneRegistrar focus{QStringLiteral("toys-page/focus-session"), [](SceneRig &rig) {
    rig.app().permissions().refresh();
    rig.app().startFocusSession();
    ControlWindow &window = rig.controlWindow(SettingsPage::toys);
    rig.capture(QStringLiteral("toys-page/focus-session"), &window);
    rig.app().focus().stop(false);
}, {QStringLiteral("effectsPaused=true")}, grantedInput};

}

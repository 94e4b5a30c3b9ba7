// The Toys page: without input access, with a toy in hand and marks on screen, and resting
// during a focus session.
#include "SceneRig.h"

#include "Views/ControlWindow.h"

namespace {

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
        rig.pointer().moveTo(at);
        rig.pointer().press();
        rig.pointer().release();
    }
    rig.captureContent(QStringLiteral("toys-page/water-gun-active"), &window);
    toys.stop();
}, {QStringLiteral("toyHandToneID=tan"), QStringLiteral("toyVolume=1.2")}, withToyPointer};

const SceneRegistrar focus{QStringLiteral("toys-page/focus-session"), [](SceneRig &rig) {
    rig.app().permissions().refresh();
    rig.app().startFocusSession();
    ControlWindow &window = rig.controlWindow(SettingsPage::toys);
    rig.capture(QStringLiteral("toys-page/focus-session"), &window);
    rig.app().focus().stop(false);
}, {QStringLiteral("effectsPaused=true")}, withToyPointer};

}

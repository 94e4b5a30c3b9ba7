// The onboarding flow page by page, the Home page with its pet panel, and the Privacy page.
#include "SceneRig.h"

#include "Views/ControlWindow.h"
#include "Views/OnboardingWindow.h"
#include "Views/Pages/ControlPage.h"
#include "Views/Pet/PetCustomizationPanel.h"
#include "fakes/FakeMotionSensor.h"
#include "fakes/FakeReactionSources.h"

#include <QAbstractButton>
#include <QScrollArea>
#include <QScrollBar>

namespace {

void clickNamed(QWidget *root, const QString &name)
{
    for (QAbstractButton *button : root->findChildren<QAbstractButton *>()) {
        if (button->accessibleName() == name && button->isVisibleTo(root)) {
            button->click();
            return;
        }
    }
}

// A first start: onboarding not completed yet.
OnboardingWindow &onboarding(SceneRig &rig)
{
    rig.app().settings().setHasCompletedOnboarding(false);
    rig.app().start();
    rig.settle();
    return *rig.windows().onboardingWindow();
}

const SceneRegistrar onboardingPages{QStringLiteral("onboarding/page"), [](SceneRig &rig) {
    OnboardingWindow &window = onboarding(rig);
    for (int page = 0; page < OnboardingWindow::pageCount; ++page) {
        rig.capture(QStringLiteral("onboarding/page-%1").arg(page), &window);
        clickNamed(&window, QStringLiteral("Continue"));
    }
}};

// A laptop whose motion sensor answers: the sensor page's other variant.
const SceneRegistrar onboardingSensor{QStringLiteral("onboarding/sensor-detected"), [](SceneRig &rig) {
    OnboardingWindow &window = onboarding(rig);
    for (int page = 0; page < 2; ++page)
        clickNamed(&window, QStringLiteral("Continue"));
    rig.capture(QStringLiteral("onboarding/sensor-detected"), &window);
}, {}, [](Platform &platform) {
    platform.findMotionSensor = [] { return std::make_unique<FakeMotionSensor>(); };
}};

const SceneRegistrar homeDefault{QStringLiteral("home/default"), [](SceneRig &rig) {
    rig.app().start();
    ControlWindow &window = rig.controlWindow(SettingsPage::home);
    rig.capture(QStringLiteral("home/default"), &window);
    rig.captureContent(QStringLiteral("home/default-content"), window.pageView(SettingsPage::home)->widget());
}};

// The busy scene's power source, handed over when its platform is made.
FakePowerSource *busyPower = nullptr;

// Paused, pet hidden, typing quiet, a focus session running, on battery, the ocean theme,
// many keys typed and the appearance pickers open.
const SceneRegistrar homeBusy{QStringLiteral("home/busy"), [](SceneRig &rig) {
    rig.app().start();
    busyPower->send(PowerSnapshot{64, false});
    rig.app().startFocusSession();
    ControlWindow &window = rig.controlWindow(SettingsPage::home);
    window.state().bloopyAppearanceExpanded = true;
    rig.app().settings().setEffectsPaused(true);
    rig.app().settings().setPetEnabled(false);
    rig.app().settings().setTypingEnabled(false);
    rig.settle();
    rig.capture(QStringLiteral("home/busy"), &window);
    rig.captureContent(QStringLiteral("home/busy-content"), window.pageView(SettingsPage::home)->widget());
    rig.captureContent(QStringLiteral("home/pet-panel"),
                       window.pageView(SettingsPage::home)->findChild<PetCustomizationPanel *>());
}, {QStringLiteral("interfaceThemeID=ocean"), QStringLiteral("interactionStatsKeys=12345"),
    QStringLiteral("petName=Captain Fin"), QStringLiteral("petAccessoryID=headphones"),
    QStringLiteral("focusGoal=Write the quarterly report")}, [](Platform &platform) {
    auto power = std::make_unique<FakePowerSource>();
    busyPower = power.get();
    platform.reactions.power = std::move(power);
}};

const SceneRegistrar privacyNeeded{QStringLiteral("privacy/permission-needed"), [](SceneRig &rig) {
    rig.capture(QStringLiteral("privacy/permission-needed"), &rig.controlWindow(SettingsPage::privacy));
}};

const SceneRegistrar privacyGranted{
    liveControlWindowScene(QStringLiteral("privacy/permission-granted"), SettingsPage::privacy)};

}

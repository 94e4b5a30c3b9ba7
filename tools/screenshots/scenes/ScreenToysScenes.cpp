// The screen toys over a plain backdrop: each toy in hand with what it leaves, every hand
// tone, wet patches, a grenade in flight and exploding, and the whip on its handle.
#include "SceneRig.h"

#include "Effects/ScreenToys/ScreenToyCanvasView.h"
#include "Foundation/ScreenGeometry.h"

#include <QGuiApplication>
#include <QScreen>

#include <chrono>

namespace {

ScreenToyController &equipped(SceneRig &rig, ScreenToyKind kind)
{
    rig.app().permissions().refresh();
    ScreenToyController &toys = rig.app().screenToys();
    toys.equip(kind);
    return toys;
}

// Clicks at Qt points, then moves the pointer on and lets `later` pass before the frame.
void clickAndWait(SceneRig &rig, ScreenToyController &toys, const std::vector<QPoint> &clicks, QPoint rest,
                  std::chrono::milliseconds later)
{
    for (QPoint at : clicks) {
        rig.pointer().moveTo(at);
        rig.pointer().press();
        rig.pointer().release();
    }
    rig.pointer().moveTo(rest);
    rig.platform().clock->advance(later);
    toys.tick();
}

// A toy in hand fired at `clicks`, framed `later` after with the pointer moved aside.
Scene shot(const QString &name, ScreenToyKind kind, const std::vector<QPoint> &clicks, std::chrono::milliseconds later)
{
    return {name,
            [=](SceneRig &rig) {
                rig.showWallpaper();
                ScreenToyController &toys = equipped(rig, kind);
                clickAndWait(rig, toys, clicks, QPoint(760, 330), later);
                rig.capture(name, toys.canvases().front());
                toys.stop();
            },
            {}, withToyPointer};
}

using namespace std::chrono_literals;

const SceneRegistrar blaster{shot(QStringLiteral("toys/blaster-marks"),
    ScreenToyKind::blaster, {{400, 300}, {700, 420}, {900, 250}}, 400ms)};
const SceneRegistrar blasterFiring{shot(QStringLiteral("toys/blaster-firing"),
    ScreenToyKind::blaster, {{760, 330}}, 40ms)};
const SceneRegistrar ak47{shot(QStringLiteral("toys/ak47"),
    ScreenToyKind::ak47, {{620, 300}, {660, 280}, {700, 310}}, 30ms)};
const SceneRegistrar waterGun{shot(QStringLiteral("toys/watergun-patches"),
    ScreenToyKind::waterGun, {{500, 350}, {505, 352}, {800, 300}, {420, 520}}, 900ms)};
const SceneRegistrar waterSplash{shot(QStringLiteral("toys/watergun-splash"),
    ScreenToyKind::waterGun, {{760, 330}}, 200ms)};
const SceneRegistrar grenadeFlight{shot(QStringLiteral("toys/grenade-flight"),
    ScreenToyKind::grenade, {{640, 300}}, 300ms)};
const SceneRegistrar grenadeExplosion{shot(QStringLiteral("toys/grenade-explosion"),
    ScreenToyKind::grenade, {{640, 300}}, 1300ms)};
const SceneRegistrar grenadeCrater{shot(QStringLiteral("toys/grenade-crater"),
    ScreenToyKind::grenade, {{640, 300}}, 4000ms)};

const SceneRegistrar whip{QStringLiteral("toys/whip"), [](SceneRig &rig) {
    rig.showWallpaper();
    ScreenToyController &toys = equipped(rig, ScreenToyKind::whip);
    for (int step = 0; step < 90; ++step) {
        rig.platform().clock->advance(16ms);
        toys.tick();
    }
    rig.capture(QStringLiteral("toys/whip"), toys.canvases().front());
    toys.stop();
}, {}, withToyPointer};

const SceneRegistrar tones{QStringLiteral("toys/tone"), [](SceneRig &rig) {
    rig.showWallpaper();
    for (ScreenToyHandTone tone : allCases<ScreenToyHandTone>()) {
        rig.app().settings().setToyHandToneID(rawValue(tone));
        for (ScreenToyKind kind : {ScreenToyKind::blaster, ScreenToyKind::grenade}) {
            ScreenToyController &toys = equipped(rig, kind);
            rig.pointer().moveTo(QPoint(760, 330));
            const QString name = QStringLiteral("toys/tone-%1-%2").arg(rawValue(tone), rawValue(kind));
            rig.capture(name, toys.canvases().front());
        }
    }
    rig.app().screenToys().stop();
}, {}, withToyPointer};

}

// The held toys turned as far as the pointer can take them, both ways: towards the top
// corners and down to the bottom corners; the arms run off the screen's edge every time.
const SceneRegistrar turns{QStringLiteral("toys/turn"), [](SceneRig &rig) {
    rig.showWallpaper();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const std::pair<const char *, QPoint> corners[] = {{"top-left", screen.topLeft()},
                                                       {"top-right", screen.topRight()},
                                                       {"bottom-left", screen.bottomLeft()},
                                                       {"bottom-right", screen.bottomRight()}};
    for (ScreenToyKind kind : {ScreenToyKind::blaster, ScreenToyKind::ak47, ScreenToyKind::waterGun}) {
        ScreenToyController &toys = equipped(rig, kind);
        for (const auto &[corner, at] : corners) {
            rig.pointer().moveTo(at);
            toys.tick();
            const QString name = QStringLiteral("toys/turn-%1-%2").arg(rawValue(kind), QString::fromUtf8(corner));
            rig.capture(name, toys.canvases().front());
        }
    }
    rig.app().screenToys().stop();
}, {}, withToyPointer};

// The screen toys over a light, a dark and a busy photo-like backdrop: each toy in hand with
// what it leaves, every hand tone, wet patches, a grenade in flight and exploding, and the whip
// on its handle.
#include "SceneRig.h"

#include "Effects/ScreenToys/ScreenToyCanvasView.h"
#include "Foundation/ScreenGeometry.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QScreen>

#include <chrono>

namespace {

// What lies under the canvases, standing in for whatever the user has open.
enum class Wallpaper { light, dark, busy };

const std::pair<Wallpaper, const char *> wallpapers[] = {
    {Wallpaper::light, "light"}, {Wallpaper::dark, "darkwall"}, {Wallpaper::busy, "busy"}};

// A photo-like picture: sky, sun, hills, trees and grain, busy in colour and brightness.
QPixmap busyPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(QPointF(0, 0), QPointF(0, size.height()));
    sky.setColorAt(0, QColor(40, 90, 170));
    sky.setColorAt(0.5, QColor(245, 190, 120));
    sky.setColorAt(1, QColor(60, 40, 30));
    p.fillRect(image.rect(), sky);
    QRadialGradient sun(QPointF(size.width() * 0.7, size.height() * 0.35), size.height() * 0.25);
    sun.setColorAt(0, QColor(255, 250, 220));
    sun.setColorAt(1, QColor(255, 200, 120, 0));
    p.fillRect(image.rect(), sun);
    QRandomGenerator random(7);
    for (int layer = 0; layer < 4; ++layer) {
        QPolygonF hill;
        hill << QPointF(0, size.height());
        for (int x = 0; x <= size.width(); x += 40)
            hill << QPointF(x, size.height() * (0.45 + 0.12 * layer) + random.bounded(60) - 30);
        hill << QPointF(size.width(), size.height());
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromHsv(90 + 25 * layer, 140, 200 - 45 * layer));
        p.drawPolygon(hill);
    }
    for (int i = 0; i < 160; ++i) {
        const QPointF at(random.bounded(size.width()), size.height() * 0.5 + random.bounded(size.height() / 2));
        p.setBrush(QColor::fromHsv(int(random.bounded(360)), 120 + int(random.bounded(120)), 40 + int(random.bounded(215))));
        p.drawEllipse(at, 6 + random.bounded(30), 6 + random.bounded(30));
    }
    for (int i = 0; i < 20000; ++i) {
        p.setPen(QColor(255, 255, 255, int(random.bounded(60))));
        p.drawPoint(random.bounded(size.width()), random.bounded(size.height()));
    }
    return QPixmap::fromImage(image);
}

std::unique_ptr<QWidget> backdrop(SceneRig &rig, Wallpaper wallpaper = Wallpaper::light)
{
    auto window = std::make_unique<QLabel>();
    window->setWindowFlags(Qt::FramelessWindowHint);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    switch (wallpaper) {
    case Wallpaper::light:
        window->setStyleSheet(QStringLiteral("background: #d8dce6;"));
        break;
    case Wallpaper::dark:
        window->setStyleSheet(QStringLiteral("background: #1b1e24;"));
        break;
    case Wallpaper::busy:
        window->setPixmap(busyPicture(screen.size()));
        break;
    }
    window->setGeometry(screen);
    window->show();
    rig.settle();
    return window;
}

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

// A toy in hand fired at `clicks`, framed `later` after with the pointer moved to `rest`, over
// each backdrop.
Scene shot(const QString &name, ScreenToyKind kind, const std::vector<QPoint> &clicks, std::chrono::milliseconds later,
           QPoint rest = QPoint(760, 330))
{
    return {name,
            [=](SceneRig &rig) {
                for (const auto &[wallpaper, wallName] : wallpapers) {
                    const auto window = backdrop(rig, wallpaper);
                    ScreenToyController &toys = equipped(rig, kind);
                    clickAndWait(rig, toys, clicks, rest, later);
                    rig.capture(name + QLatin1Char('-') + QString::fromUtf8(wallName), toys.canvases().front());
                    toys.stop();
                }
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
const SceneRegistrar ak47Marks{shot(QStringLiteral("toys/ak47-marks"),
    ScreenToyKind::ak47, {{300, 200}, {620, 300}, {1000, 260}}, 500ms)};
const SceneRegistrar waterGun{shot(QStringLiteral("toys/watergun-patches"),
    ScreenToyKind::waterGun, {{500, 350}, {505, 352}, {800, 300}, {420, 520}}, 900ms)};
const SceneRegistrar waterStream{shot(QStringLiteral("toys/watergun-stream"),
    ScreenToyKind::waterGun, {{520, 120}}, 60ms, {520, 120})};
const SceneRegistrar waterSplash{shot(QStringLiteral("toys/watergun-splash"),
    ScreenToyKind::waterGun, {{520, 120}}, 200ms, {520, 120})};
const SceneRegistrar grenadeFlight{shot(QStringLiteral("toys/grenade-flight"),
    ScreenToyKind::grenade, {{640, 300}}, 300ms)};
const SceneRegistrar grenadeFireball{shot(QStringLiteral("toys/grenade-fireball"),
    ScreenToyKind::grenade, {{640, 300}}, 1200ms)};
const SceneRegistrar grenadeExplosion{shot(QStringLiteral("toys/grenade-explosion"),
    ScreenToyKind::grenade, {{640, 300}}, 1300ms)};
const SceneRegistrar grenadeCrater{shot(QStringLiteral("toys/grenade-crater"),
    ScreenToyKind::grenade, {{640, 300}}, 4000ms)};
const SceneRegistrar whip{QStringLiteral("toys/whip"), [](SceneRig &rig) {
    for (const auto &[wallpaper, wallName] : wallpapers) {
        const auto window = backdrop(rig, wallpaper);
        ScreenToyController &toys = equipped(rig, ScreenToyKind::whip);
        for (int step = 0; step < 90; ++step) {
            rig.platform().clock->advance(16ms);
            toys.tick();
        }
        rig.capture(QStringLiteral("toys/whip-") + QString::fromUtf8(wallName), toys.canvases().front());
        toys.stop();
    }
}, {}, withToyPointer};

const SceneRegistrar tones{QStringLiteral("toys/tone"), [](SceneRig &rig) {
    const auto window = backdrop(rig);
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

// The held toys at eight turns, over each backdrop: towards the corners and the middles of the
// edges, the bottom ones turned past the horizontal; the arms always come up from the bottom.
const SceneRegistrar turns{QStringLiteral("toys/turn"), [](SceneRig &rig) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const std::pair<const char *, QPoint> aims[] = {{"top-left", screen.topLeft()},
                                                    {"top", QPoint(screen.center().x(), screen.top())},
                                                    {"top-right", screen.topRight()},
                                                    {"right", QPoint(screen.right(), screen.center().y())},
                                                    {"bottom-right", screen.bottomRight()},
                                                    {"bottom", QPoint(screen.center().x() + 1, screen.bottom())},
                                                    {"bottom-left", screen.bottomLeft()},
                                                    {"left", QPoint(screen.left(), screen.center().y())}};
    for (const auto &[wallpaper, wallName] : wallpapers) {
        const auto window = backdrop(rig, wallpaper);
        for (ScreenToyKind kind : {ScreenToyKind::blaster, ScreenToyKind::ak47, ScreenToyKind::waterGun}) {
            ScreenToyController &toys = equipped(rig, kind);
            for (const auto &[aim, at] : aims) {
                rig.pointer().moveTo(at);
                toys.tick();
                const QString name = QStringLiteral("toys/turn-%1-%2-%3")
                                         .arg(rawValue(kind), QString::fromUtf8(aim), QString::fromUtf8(wallName));
                rig.capture(name, toys.canvases().front());
            }
        }
        rig.app().screenToys().stop();
    }
}, {}, withToyPointer};

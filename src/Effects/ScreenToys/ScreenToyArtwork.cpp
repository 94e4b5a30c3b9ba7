#include "Effects/ScreenToys/ScreenToyArtwork.h"

#include "Effects/ScreenToys/ScreenToyRecolouring.h"
#include "Services/ResourceBundle.h"

#include <QHash>

#include <optional>

namespace {
QImage load(const char *fileName)
{
    return QImage(ResourceBundle::filePath(QStringLiteral("ScreenToys/") + QString::fromUtf8(fileName)));
}

struct Images {
    QImage blaster = load("handgun-cycle.png");
    QImage waterGun = load("watergun-hands.png");
    QImage ak47 = load("ak47-cycle.png");
    QImage grenade = load("grenade-hands.png");
    QImage bulletGlass = load("bullet-glass.png");
    QImage whipGlass = load("whip-glass.png");
    QImage wetGlass = load("wet-glass.png");
    QImage crater = load("grenade-crater.png");
    QImage fire = load("grenade-fire.png");
    QImage muzzle = load("muzzle-flash.png");
    QImage none;
    QHash<QString, QImage> tinted;
    QHash<QString, QImage> derived;
};

std::optional<Images> &store()
{
    static std::optional<Images> loaded;
    return loaded;
}

Images &images()
{
    std::optional<Images> &loaded = store();
    if (!loaded)
        loaded.emplace();
    return *loaded;
}
}

namespace ScreenToyArtwork {
const QImage &hands(ScreenToyKind kind)
{
    switch (kind) {
    case ScreenToyKind::blaster:
        return images().blaster;
    case ScreenToyKind::waterGun:
        return images().waterGun;
    case ScreenToyKind::ak47:
        return images().ak47;
    case ScreenToyKind::grenade:
        return images().grenade;
    case ScreenToyKind::whip:
        break;
    }
    return images().none;
}

int frameCount(ScreenToyKind kind)
{
    return kind == ScreenToyKind::blaster || kind == ScreenToyKind::ak47 ? 2 : 1;
}

const QImage &impact(ScreenToyKind kind)
{
    switch (kind) {
    case ScreenToyKind::blaster:
    case ScreenToyKind::ak47:
        return images().bulletGlass;
    case ScreenToyKind::whip:
        return images().whipGlass;
    case ScreenToyKind::waterGun:
    case ScreenToyKind::grenade:
        break;
    }
    return images().none;
}

const QImage &wetGlass()
{
    return images().wetGlass;
}

const QImage &grenadeHands()
{
    return images().grenade;
}

const QImage &grenadeCrater()
{
    return images().crater;
}

const QImage &grenadeFire()
{
    return images().fire;
}

const QImage &muzzleFlash()
{
    return images().muzzle;
}

QImage artwork(ScreenToyKind kind, ScreenToyHandTone tone)
{
    const QImage &base = hands(kind);
    if (base.isNull() || tone == ScreenToyHandTone::original)
        return base;
    QHash<QString, QImage> &tinted = images().tinted;
    const QString key = rawValue(kind) + QLatin1Char(':') + rawValue(tone);
    if (const auto cached = tinted.constFind(key); cached != tinted.constEnd())
        return *cached;
    const auto recoloured = ScreenToyRecolouring::apply(tone, base, ScreenToyRecolouring::regions(kind), frameCount(kind));
    if (!recoloured)
        return base;
    tinted.insert(key, *recoloured);
    return *recoloured;
}

QImage derived(const QString &name, const std::function<QImage()> &make)
{
    QHash<QString, QImage> &made = images().derived;
    if (const auto found = made.constFind(name); found != made.constEnd())
        return *found;
    // A bound for images scaled to sizes that change; callers hold copies, so clearing is safe.
    if (made.size() >= 96)
        made.clear();
    const QImage image = make();
    made.insert(name, image);
    return image;
}

void release()
{
    store().reset();
}

bool isLoaded()
{
    return store().has_value();
}
}

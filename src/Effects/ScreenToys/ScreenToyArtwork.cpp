#include "Effects/ScreenToys/ScreenToyArtwork.h"

#include "Effects/ScreenToys/ScreenToyRecolouring.h"
#include "Services/ImageFile.h"
#include "Services/ResourceBundle.h"

#include <QHash>

#include <map>
#include <optional>

namespace {
struct Images {
    // Each file read when first drawn, so a toy holds only its own artwork; the map keeps
    // the images where the references handed out point.
    std::map<QString, QImage> files;
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

const QImage &file(const char *fileName)
{
    const QString name = QString::fromUtf8(fileName);
    std::map<QString, QImage> &files = images().files;
    auto found = files.find(name);
    if (found == files.end())
        found = files.emplace(name, ImageFile::read(ResourceBundle::filePath(QStringLiteral("ScreenToys/") + name))).first;
    return found->second;
}

const QImage &none()
{
    static const QImage empty;
    return empty;
}
}

namespace ScreenToyArtwork {
const QImage &hands(ScreenToyKind kind)
{
    switch (kind) {
    case ScreenToyKind::blaster:
        return file("handgun-cycle.png");
    case ScreenToyKind::waterGun:
        return file("watergun-hands.png");
    case ScreenToyKind::ak47:
        return file("ak47-cycle.png");
    case ScreenToyKind::grenade:
        return file("grenade-hands.png");
    case ScreenToyKind::whip:
        break;
    }
    return none();
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
        return file("bullet-glass.png");
    case ScreenToyKind::whip:
        return file("whip-glass.png");
    case ScreenToyKind::waterGun:
    case ScreenToyKind::grenade:
        break;
    }
    return none();
}

const QImage &wetGlass()
{
    return file("wet-glass.png");
}

const QImage &grenadeHands()
{
    return file("grenade-hands.png");
}

const QImage &grenadeCrater()
{
    return file("grenade-crater.png");
}

const QImage &grenadeFire()
{
    return file("grenade-fire.png");
}

const QImage &muzzleFlash()
{
    return file("muzzle-flash.png");
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

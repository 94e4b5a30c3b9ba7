#include "Effects/ScreenToys/ScreenToyKind.h"

namespace ScreenToyKinds {
QString title(ScreenToyKind kind)
{
    switch (kind) {
    case ScreenToyKind::blaster:
        return QStringLiteral("Blaster");
    case ScreenToyKind::whip:
        return QStringLiteral("Whip");
    case ScreenToyKind::waterGun:
        return QStringLiteral("Water Gun");
    case ScreenToyKind::ak47:
        return QStringLiteral("AK-47");
    case ScreenToyKind::grenade:
        return QStringLiteral("Grenade");
    }
    return {};
}

QString symbolName(ScreenToyKind kind)
{
    switch (kind) {
    case ScreenToyKind::blaster:
        return QStringLiteral("scope");
    case ScreenToyKind::whip:
        return QStringLiteral("lasso");
    case ScreenToyKind::waterGun:
        return QStringLiteral("drop.fill");
    case ScreenToyKind::ak47:
        return QStringLiteral("burst.fill");
    case ScreenToyKind::grenade:
        return QStringLiteral("flame.fill");
    }
    return {};
}
}

#include "Effects/ScreenToys/ScreenToyGrenadeStore.h"

#include <algorithm>

void ScreenToyGrenadeStore::expire(double at)
{
    std::erase_if(grenades, [&](const ScreenToyGrenade &grenade) {
        return at - grenade.thrownAt >= ScreenToyGrenade::lifetimeSeconds;
    });
}

void ScreenToyGrenadeStore::throwGrenade(QPointF from, QPointF to, double at)
{
    expire(at);
    grenades.push_back(ScreenToyGrenade{from, to, at, false});
    const auto excess = std::ssize(grenades) - maximumCount;
    if (excess > 0)
        grenades.erase(grenades.begin(), grenades.begin() + excess);
}

int ScreenToyGrenadeStore::detonations(double at)
{
    expire(at);
    int count = 0;
    for (ScreenToyGrenade &grenade : grenades) {
        if (!grenade.didPlayBlast && at - grenade.thrownAt >= ScreenToyGrenade::detonationSeconds) {
            grenade.didPlayBlast = true;
            ++count;
        }
    }
    return count;
}

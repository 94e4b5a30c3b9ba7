#pragma once

#include "Effects/ScreenToys/ScreenToyGrenade.h"

#include <vector>

// The grenades in play, oldest first, at most four.
struct ScreenToyGrenadeStore {
    static constexpr int maximumCount = 4;

    std::vector<ScreenToyGrenade> grenades;

    void throwGrenade(QPointF from, QPointF to, double at);
    // How many grenades detonated since the last call; each is reported once.
    int detonations(double at);
    // Drops every grenade thrown 7 s or more before `at`.
    void expire(double at);
};

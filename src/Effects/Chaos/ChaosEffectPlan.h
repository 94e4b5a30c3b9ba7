#pragma once

#include "Effects/Chaos/ChaosMode.h"

#include <algorithm>

// One chaos run: its mode, how many bodies each screen gets and on how many screens it runs.
struct ChaosEffectPlan {
    ChaosMode mode = ChaosMode::gravity;
    int itemsPerDisplay = 12;
    int displayCount = 1;

    bool operator==(const ChaosEffectPlan &) const = default;

    static ChaosEffectPlan make(ChaosMode mode, int itemCount, int screenCount)
    {
        return {mode, std::clamp(itemCount, 12, 24), std::clamp(screenCount, 1, 6)};
    }
};

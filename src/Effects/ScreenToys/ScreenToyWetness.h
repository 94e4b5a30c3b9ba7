#pragma once

#include "Effects/ScreenToys/ScreenToyWetPatch.h"

#include <QPointF>

#include <cstdint>
#include <vector>

// The wet patches of the water gun, oldest first. Hits close to a young patch soak into it.
struct ScreenToyWetness {
    static constexpr double dryingSeconds = 4.5;
    static constexpr double mergeRadius = 32;
    static constexpr double mergeWindowSeconds = 1.5;
    static constexpr double maximumVolume = 4;

    std::vector<ScreenToyWetPatch> patches;
    std::uint64_t sequence = 0;
    int maximumCount = 8;

    // A hit that is not a finite point leaves no patch.
    void addImpact(QPointF at, double time);
    // Drops every patch whose last hit is 4.5 s or more before `time`.
    void expire(double time);

    static std::uint64_t seed(QPointF at, std::uint64_t sequence);
};

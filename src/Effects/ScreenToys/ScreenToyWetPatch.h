#pragma once

#include <QPointF>

#include <cstdint>
#include <optional>
#include <vector>

// A wet smear left by water-gun hits; its seed fixes its look for its whole life.
struct ScreenToyWetPatch {
    static constexpr int dropletCount = 7;

    QPointF center;
    double createdAt = 0;
    std::uint64_t seed = 0;
    double volume = 1.0;
    std::optional<double> refreshedAt;

    // Offsets of the beads around the centre, 7 to 22 points out on a flattened ring.
    std::vector<QPointF> droplets() const;
};

#pragma once

#include "Effects/SystemReactionEvent.h"
#include "Platform/PowerSnapshot.h"

#include <array>
#include <optional>
#include <vector>

// Which power events a new battery reading makes. The charger reacts on each change of
// power, never on a repeated reading; each low-battery threshold reacts once per stretch
// on battery; a full battery reacts once per stretch on power.
namespace SystemReactionPolicy {

inline constexpr std::array<int, 4> lowBatteryThresholds{20, 10, 5, 1};
// A battery that stops charging this full (or fuller) counts as fully charged.
inline constexpr int fullPercent = 95;

struct State {
    std::optional<PowerSnapshot> last;
    // Thresholds already at or above the charge, reported or not, since the charger was
    // last unplugged: they react no more until the charger is connected again.
    std::array<bool, lowBatteryThresholds.size()> passed{};
    bool fullReported = false;
};

std::vector<SystemReactionEvent> advance(State &state, const PowerSnapshot &snapshot);

}

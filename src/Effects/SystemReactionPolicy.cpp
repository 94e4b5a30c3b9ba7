#include "Effects/SystemReactionPolicy.h"

namespace {

void passThresholdsAtOrAbove(SystemReactionPolicy::State &state, int percent)
{
    for (std::size_t i = 0; i < SystemReactionPolicy::lowBatteryThresholds.size(); ++i) {
        if (percent <= SystemReactionPolicy::lowBatteryThresholds[i])
            state.passed[i] = true;
    }
}

// Full already, whatever came before.
bool isFull(const PowerSnapshot &snapshot)
{
    return snapshot.isOnACPower
        && (snapshot.percent >= 100 || (!snapshot.isCharging && snapshot.percent >= SystemReactionPolicy::fullPercent));
}

// Became full with this reading.
bool becameFull(const PowerSnapshot &snapshot, const PowerSnapshot &previous)
{
    if (!snapshot.isOnACPower)
        return false;
    if (snapshot.percent >= 100)
        return true;
    return previous.isCharging && !snapshot.isCharging && snapshot.percent >= SystemReactionPolicy::fullPercent;
}

}

std::vector<SystemReactionEvent> SystemReactionPolicy::advance(State &state, const PowerSnapshot &snapshot)
{
    using Kind = SystemReactionEvent::Kind;
    std::vector<SystemReactionEvent> events;
    const std::optional<PowerSnapshot> previous = state.last;
    state.last = snapshot;

    if (!previous) {
        // The first reading only sets the scene: nothing was crossed or connected yet.
        if (!snapshot.isOnACPower)
            passThresholdsAtOrAbove(state, snapshot.percent);
        state.fullReported = isFull(snapshot);
        return events;
    }

    if (snapshot.isOnACPower != previous->isOnACPower) {
        if (snapshot.isOnACPower) {
            events.push_back(SystemReactionEvent::of(Kind::chargerConnected));
            state.passed.fill(false);
            // Plugging in a battery that is full already is not news.
            state.fullReported = isFull(snapshot);
            return events;
        }
        events.push_back(SystemReactionEvent::of(Kind::chargerDisconnected));
        state.fullReported = false;
        passThresholdsAtOrAbove(state, snapshot.percent);
        return events;
    }

    if (!snapshot.isOnACPower) {
        // Of several thresholds crossed at once, only the lowest is worth saying.
        std::optional<int> lowest;
        for (std::size_t i = 0; i < lowBatteryThresholds.size(); ++i) {
            if (!state.passed[i] && snapshot.percent <= lowBatteryThresholds[i])
                lowest = lowBatteryThresholds[i];
        }
        passThresholdsAtOrAbove(state, snapshot.percent);
        if (lowest)
            events.push_back(SystemReactionEvent::lowBattery(*lowest));
        return events;
    }

    if (snapshot.percent < fullPercent)
        state.fullReported = false;
    if (!state.fullReported && becameFull(snapshot, *previous)) {
        state.fullReported = true;
        events.push_back(SystemReactionEvent::of(Kind::fullyCharged));
    }
    return events;
}

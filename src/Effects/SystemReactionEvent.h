#pragma once

#include <QString>

// A power or sleep event worth a reaction.
struct SystemReactionEvent {
    enum class Kind { lowBattery, chargerConnected, chargerDisconnected, fullyCharged, willSleep, didWake };

    Kind kind = Kind::chargerConnected;
    // The percentage crossed, for lowBattery only.
    int threshold = 0;

    static SystemReactionEvent lowBattery(int threshold) { return {Kind::lowBattery, threshold}; }
    static SystemReactionEvent of(Kind kind) { return {kind, 0}; }

    // The text the controller publishes as its last event.
    QString text() const;

    friend bool operator==(const SystemReactionEvent &, const SystemReactionEvent &) = default;
};

#pragma once

#include "Models/KeyGroup.h"
#include "Models/KeyPhase.h"

#include <QString>

#include <cstdint>
#include <optional>

// One key event on its way to the typing sounds: auto-repeats included, flagged.
struct KeySoundEvent {
    std::uint16_t keyCode = 0; // Linux evdev key code
    KeyGroup group = KeyGroup::regular;
    KeyPhase phase = KeyPhase::down;
    double pan = 0.0; // -1 (left) ... 1 (right)
    bool isRepeat = false;
    std::optional<QString> label = std::nullopt; // at most four characters, only when the HUD may show it
};

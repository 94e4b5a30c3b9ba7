#pragma once

#include "Platform/PowerSnapshot.h"

#include <functional>
#include <optional>

// The internal battery and the charger. Reports on the GUI thread: once as soon as the state
// is known, then on every change; nothing (nullopt) when the computer reports no battery.
class PowerSource {
public:
    using Handler = std::function<void(std::optional<PowerSnapshot>)>;

    virtual ~PowerSource() = default;
    virtual void start(Handler handler) = 0;
    virtual void stop() = 0;
};

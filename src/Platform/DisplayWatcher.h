#pragma once

#include <functional>

enum class DisplayChange { connected, disconnected };

// Displays being connected and disconnected, reported on the GUI thread.
class DisplayWatcher {
public:
    using Handler = std::function<void(DisplayChange)>;

    virtual ~DisplayWatcher() = default;
    virtual bool start(Handler handler) = 0;
    virtual void stop() = 0;
};

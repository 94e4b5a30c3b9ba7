#pragma once

#include <functional>

// What the system lets this process see, and how the user is told to change it.
class PermissionProbe {
public:
    virtual ~PermissionProbe() = default;
    // Whether a global input source works: a readable keyboard device or display-server
    // raw events.
    virtual bool inputMonitoringGranted() = 0;
    // Asks whether the accessibility bus answers, without waiting for it: `answer` runs on the
    // GUI thread once the reply is in, possibly before this returns when it needs no asking.
    virtual void checkAccessibility(std::function<void(bool trusted)> answer) = 0;
    // Non-blocking explanations of how to grant each access.
    virtual void showInputMonitoringHelp() = 0;
    virtual void showAccessibilityHelp() = 0;
};

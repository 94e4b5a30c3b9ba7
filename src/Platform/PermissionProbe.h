#pragma once

// What the system lets this process see, and how the user is told to change it.
class PermissionProbe {
public:
    virtual ~PermissionProbe() = default;
    // Whether a global input source works: a readable keyboard device or display-server
    // raw events.
    virtual bool inputMonitoringGranted() = 0;
    // Whether the accessibility bus answers.
    virtual bool accessibilityTrusted() = 0;
    // Non-blocking explanations of how to grant each access.
    virtual void showInputMonitoringHelp() = 0;
    virtual void showAccessibilityHelp() = 0;
};

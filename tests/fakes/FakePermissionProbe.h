#pragma once

#include "Platform/PermissionProbe.h"

class FakePermissionProbe final : public PermissionProbe {
public:
    bool inputMonitoringGranted() override { return inputGranted; }
    bool accessibilityTrusted() override { return accessibilityGranted; }
    void showInputMonitoringHelp() override { ++inputHelpShown; }
    void showAccessibilityHelp() override { ++accessibilityHelpShown; }

    bool inputGranted = false;
    bool accessibilityGranted = false;
    int inputHelpShown = 0;
    int accessibilityHelpShown = 0;
};

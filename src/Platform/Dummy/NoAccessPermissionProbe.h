#pragma once

#include "Platform/PermissionProbe.h"

// A system that grants no global input and has no accessibility bus, and offers no way
// to change that.
class NoAccessPermissionProbe final : public PermissionProbe {
public:
    bool inputMonitoringGranted() override { return false; }
    void checkAccessibility(std::function<void(bool)> answer) override { answer(false); }
    void showInputMonitoringHelp() override {}
    void showAccessibilityHelp() override {}
};

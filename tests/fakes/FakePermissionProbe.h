#pragma once

#include "Platform/PermissionProbe.h"

#include <utility>
#include <vector>

class FakePermissionProbe final : public PermissionProbe {
public:
    bool inputMonitoringGranted() override { return inputGranted; }
    // Answers at once, or holds the question until the test calls answerAccessibility().
    void checkAccessibility(std::function<void(bool)> answer) override
    {
        if (answersLater)
            pendingAnswers.push_back(std::move(answer));
        else
            answer(accessibilityGranted);
    }
    void answerAccessibility()
    {
        auto answers = std::exchange(pendingAnswers, {});
        for (auto &answer : answers)
            answer(accessibilityGranted);
    }
    void showInputMonitoringHelp() override { ++inputHelpShown; }
    void showAccessibilityHelp() override { ++accessibilityHelpShown; }

    bool inputGranted = false;
    bool accessibilityGranted = false;
    bool answersLater = false;
    std::vector<std::function<void(bool)>> pendingAnswers;
    int inputHelpShown = 0;
    int accessibilityHelpShown = 0;
};

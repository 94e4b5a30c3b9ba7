#pragma once

#include "Models/KeyGroup.h"
#include "Models/KeyPhase.h"
#include "Platform/InputCapture.h"
#include "Services/Input/InputSourceLadder.h"

#include <functional>

// Global mouse-button presses and releases. The callback runs on the mouse reader's thread
// (or the GUI thread when only our own windows are heard); set it before start().
class MouseMonitor {
public:
    static inline const QString threadLabel = QStringLiteral("local.knockwell.mouse");

    explicit MouseMonitor(InputCapture &capture);

    std::function<void(KeyGroup group, KeyPhase phase)> onClick;

    bool start();
    void stop();
    bool isRunning() const { return m_ladder.level().has_value(); }
    std::optional<InputCaptureLevel> captureLevel() const { return m_ladder.level(); }

private:
    InputSourceLadder m_ladder;
};

#pragma once

#include "Platform/InputCapture.h"

#include <memory>
#include <optional>
#include <vector>

// Starts the first input source the session offers of `levels`, by default every readable
// device, else the display server's raw events, else the events of our own windows. Exactly
// one source runs at a time, so no event is ever seen twice. Used on the GUI thread.
class InputSourceLadder {
public:
    InputSourceLadder(InputCapture &capture, InputDeviceClass deviceClass, QString threadLabel,
                      std::vector<InputCaptureLevel> levels = {InputCaptureLevel::eventTap,
                                                               InputCaptureLevel::globalFallback,
                                                               InputCaptureLevel::appOnly});
    ~InputSourceLadder();
    InputSourceLadder(const InputSourceLadder &) = delete;
    InputSourceLadder &operator=(const InputSourceLadder &) = delete;

    // True when a source runs (also when one already did); false when none could start.
    bool start(const InputEventSource::Handler &handler);
    void stop();
    std::optional<InputCaptureLevel> level() const { return m_level; }

private:
    InputCapture &m_capture;
    InputDeviceClass m_deviceClass;
    QString m_threadLabel;
    std::vector<InputCaptureLevel> m_levels;
    std::unique_ptr<InputEventSource> m_source;
    std::optional<InputCaptureLevel> m_level;
};

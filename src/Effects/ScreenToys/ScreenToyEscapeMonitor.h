#pragma once

#include "Platform/InputCapture.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

// Reports every key press seen anywhere in the session, on the GUI thread, so Esc can put a
// toy away whichever application is in front. It only listens: keys still reach their
// application. Uses the display server's raw key events, else the keyboard devices; never
// only our own windows.
class ScreenToyEscapeMonitor {
public:
    static inline const QString threadLabel = QStringLiteral("local.plinkly.screen-toy-escape");
    // Key codes are evdev codes.
    static constexpr std::uint16_t escapeKeyCode = 1;

    explicit ScreenToyEscapeMonitor(InputCapture &capture);
    ~ScreenToyEscapeMonitor();
    ScreenToyEscapeMonitor(const ScreenToyEscapeMonitor &) = delete;
    ScreenToyEscapeMonitor &operator=(const ScreenToyEscapeMonitor &) = delete;

    // Set before start().
    std::function<void(std::uint16_t keyCode)> onKeyCode;

    // True when listening (also when it already was); false when no global source exists.
    bool start();
    // Harmless when not listening.
    void stop();
    bool isListening() const { return m_source != nullptr; }

private:
    InputCapture &m_capture;
    std::unique_ptr<InputEventSource> m_source;
    // Key presses hop to the GUI thread through this; dropped on stop.
    std::unique_ptr<QObject> m_receiver;
};

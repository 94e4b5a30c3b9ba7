#pragma once

#include "Services/Input/InputSourceLadder.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

// Reports every key press seen anywhere in the session, on the GUI thread, so Esc can put a
// screen toy away or end a chaos run whichever application is in front. It only listens:
// keys still reach their application. Uses the display server's raw key events, else the
// keyboard devices, and only when asked, else the keys typed into our own windows.
class EscapeKeyMonitor {
public:
    enum class Reach { desktop, desktopElseOwnWindows };

    static inline const QString threadLabel = QStringLiteral("local.plinkly.escape-key");
    // Key codes are evdev codes.
    static constexpr std::uint16_t escapeKeyCode = 1;

    explicit EscapeKeyMonitor(InputCapture &capture, Reach reach = Reach::desktop);
    ~EscapeKeyMonitor();
    EscapeKeyMonitor(const EscapeKeyMonitor &) = delete;
    EscapeKeyMonitor &operator=(const EscapeKeyMonitor &) = delete;

    // Set before start().
    std::function<void(std::uint16_t keyCode)> onKeyCode;

    // True when listening (also when it already was); false when no global source exists.
    bool start();
    // Harmless when not listening.
    void stop();
    bool isListening() const { return m_ladder.level().has_value(); }
    bool hearsDesktop() const { return isListening() && m_ladder.level() != InputCaptureLevel::appOnly; }

private:
    InputSourceLadder m_ladder;
    // Key presses hop to the GUI thread through this; dropped on stop.
    std::unique_ptr<QObject> m_receiver;
};

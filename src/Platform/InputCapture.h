#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

// Global key and button input as a ladder of sources, best first.
enum class InputDeviceClass { keyboard, mouse };

enum class InputCaptureLevel {
    eventTap,       // every readable input device (evdev)
    globalFallback, // raw events of the display server (XInput2)
    appOnly,        // events of our own windows
};

// One key or button transition in evdev terms: the key or BTN_* code, and the value
// 0 (release), 1 (press) or 2 (auto-repeat).
struct RawInputEvent {
    std::uint16_t code = 0;
    std::int32_t value = 0;
};

namespace InputCodes {
// Key codes of a keyboard: the typing and media keys, without the button ranges.
bool isKeyboardKey(std::uint16_t code);
// Mouse buttons: left, right, middle, side, extra, forward, back, task.
bool isMouseButton(std::uint16_t code);
bool accepts(InputDeviceClass deviceClass, std::uint16_t code);
}

class InputEventSource {
public:
    // Called on the source's own thread, or on the GUI thread for the app-only source.
    using Handler = std::function<void(const RawInputEvent &)>;

    virtual ~InputEventSource() = default;
    // False when this source cannot deliver events in this session; nothing is kept then.
    virtual bool start(Handler handler) = 0;
    // Returns once the handler will not be called again. Events already delivered to this
    // process (queued by the display server or a device) are handled first, within a short bound.
    virtual void stop() = 0;
};

class InputCapture {
public:
    virtual ~InputCapture() = default;
    // A source of the given level, or null when this session has none. Sources that run a
    // thread label it with threadLabel.
    virtual std::unique_ptr<InputEventSource> makeSource(InputCaptureLevel level, InputDeviceClass deviceClass,
                                                         const QString &threadLabel) = 0;
};

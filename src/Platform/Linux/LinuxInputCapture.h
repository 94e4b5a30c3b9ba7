#pragma once

#include "Platform/InputCapture.h"

// The Linux ladder: evdev devices, then XInput2 raw events, then our own windows.
class LinuxInputCapture final : public InputCapture {
public:
    std::unique_ptr<InputEventSource> makeSource(InputCaptureLevel level, InputDeviceClass deviceClass,
                                                 const QString &threadLabel) override;
};

#pragma once

#include "Platform/InputCapture.h"
#include "Platform/QtWindowEventSource.h"

// Hears only our own windows: the input ladder of a session that offers no global source.
class AppOnlyInputCapture final : public InputCapture {
public:
    std::unique_ptr<InputEventSource> makeSource(InputCaptureLevel level, InputDeviceClass deviceClass,
                                                 const QString &) override
    {
        if (level != InputCaptureLevel::appOnly)
            return nullptr;
        return std::make_unique<QtWindowEventSource>(deviceClass);
    }
};

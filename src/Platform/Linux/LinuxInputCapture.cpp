#include "Platform/Linux/LinuxInputCapture.h"

#include "Platform/Linux/EvdevInputSource.h"
#include "Platform/Linux/XInputEventSource.h"
#include "Platform/QtWindowEventSource.h"

std::unique_ptr<InputEventSource> LinuxInputCapture::makeSource(InputCaptureLevel level, InputDeviceClass deviceClass,
                                                                const QString &threadLabel)
{
    switch (level) {
    case InputCaptureLevel::eventTap:
        return std::make_unique<EvdevInputSource>(deviceClass, threadLabel);
    case InputCaptureLevel::globalFallback:
        return std::make_unique<XInputEventSource>(deviceClass, threadLabel);
    case InputCaptureLevel::appOnly:
        return std::make_unique<QtWindowEventSource>(deviceClass);
    }
    return nullptr;
}

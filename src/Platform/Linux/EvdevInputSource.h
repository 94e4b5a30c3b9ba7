#pragma once

#include "Platform/InputCapture.h"
#include "Platform/Linux/EvdevReaderThread.h"

// Every readable keyboard or mouse device of the machine, hot-plug included.
class EvdevInputSource final : public InputEventSource {
public:
    EvdevInputSource(InputDeviceClass deviceClass, const QString &threadLabel);

    // False when no device of the class can be read (none present, or no permission).
    bool start(Handler handler) override;
    void stop() override;

private:
    InputDeviceClass m_deviceClass;
    EvdevReaderThread m_reader;
};

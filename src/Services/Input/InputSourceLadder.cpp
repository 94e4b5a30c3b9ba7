#include "Services/Input/InputSourceLadder.h"

InputSourceLadder::InputSourceLadder(InputCapture &capture, InputDeviceClass deviceClass, QString threadLabel)
    : m_capture(capture)
    , m_deviceClass(deviceClass)
    , m_threadLabel(std::move(threadLabel))
{
}

InputSourceLadder::~InputSourceLadder()
{
    stop();
}

bool InputSourceLadder::start(const InputEventSource::Handler &handler)
{
    if (m_source)
        return true;
    for (auto level : {InputCaptureLevel::eventTap, InputCaptureLevel::globalFallback, InputCaptureLevel::appOnly}) {
        auto source = m_capture.makeSource(level, m_deviceClass, m_threadLabel);
        if (source && source->start(handler)) {
            m_source = std::move(source);
            m_level = level;
            return true;
        }
    }
    return false;
}

void InputSourceLadder::stop()
{
    if (m_source) {
        m_source->stop();
        m_source.reset();
    }
    m_level.reset();
}

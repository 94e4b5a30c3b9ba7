#include "Services/Input/InputSourceLadder.h"

#include "Foundation/LogCategories.h"

namespace {

const char *levelName(InputCaptureLevel level)
{
    switch (level) {
    case InputCaptureLevel::eventTap:
        return "evdev devices";
    case InputCaptureLevel::globalFallback:
        return "the X server (XInput2)";
    case InputCaptureLevel::appOnly:
        return "Plinkly's own windows";
    }
    return "an unknown source";
}

}

InputSourceLadder::InputSourceLadder(InputCapture &capture, InputDeviceClass deviceClass, QString threadLabel,
                                     std::vector<InputCaptureLevel> levels)
    : m_capture(capture)
    , m_deviceClass(deviceClass)
    , m_threadLabel(std::move(threadLabel))
    , m_levels(std::move(levels))
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
    for (InputCaptureLevel level : m_levels) {
        auto source = m_capture.makeSource(level, m_deviceClass, m_threadLabel);
        if (source && source->start(handler)) {
            qCInfo(logInput) << m_threadLabel << "hears input through" << levelName(level);
            m_source = std::move(source);
            m_level = level;
            return true;
        }
        qCInfo(logInput) << m_threadLabel << "cannot hear input through" << levelName(level);
    }
    qCInfo(logInput) << m_threadLabel << "has no input source: nothing will be heard";
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

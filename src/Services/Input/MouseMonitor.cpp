#include "Services/Input/MouseMonitor.h"

#include "Services/Input/KeyClassifier.h"

MouseMonitor::MouseMonitor(InputCapture &capture)
    : m_ladder(capture, InputDeviceClass::mouse, threadLabel)
{
}

bool MouseMonitor::start()
{
    return m_ladder.start([this](const RawInputEvent &raw) {
        // A held button repeats nothing; only real transitions make a sound.
        if (raw.value == 2 || !onClick)
            return;
        onClick(KeyClassifier::mouseGroup(raw.code), raw.value == 0 ? KeyPhase::up : KeyPhase::down);
    });
}

void MouseMonitor::stop()
{
    m_ladder.stop();
}

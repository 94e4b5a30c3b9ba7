#include "Services/Input/KeyboardMonitor.h"

#include "Foundation/KeyLabelTable.h"
#include "Services/Input/KeyClassifier.h"
#include "Services/Input/SpatialKeyMapper.h"

KeyboardMonitor::KeyboardMonitor(InputCapture &capture, const KeyLabelSource &labels)
    : m_labels(labels)
    , m_ladder(capture, InputDeviceClass::keyboard, threadLabel)
{
}

bool KeyboardMonitor::start()
{
    return m_ladder.start([this](const RawInputEvent &raw) {
        if (onEvent)
            onEvent(makeEvent(raw));
    });
}

void KeyboardMonitor::stop()
{
    m_ladder.stop();
}

KeySoundEvent KeyboardMonitor::makeEvent(const RawInputEvent &raw) const
{
    KeySoundEvent event;
    event.keyCode = raw.code;
    event.group = KeyClassifier::group(raw.code);
    event.phase = raw.value == 0 ? KeyPhase::up : KeyPhase::down;
    event.isRepeat = raw.value == 2;
    event.pan = SpatialKeyMapper::pan(raw.code);
    if (event.phase == KeyPhase::down && !event.isRepeat && !(isSecureInput && isSecureInput()) && wantsLabel
        && wantsLabel()) {
        if (auto label = m_labels.label(raw.code))
            event.label = KeyLabelTable::clipped(*label);
    }
    return event;
}

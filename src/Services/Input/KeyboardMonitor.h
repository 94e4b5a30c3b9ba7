#pragma once

#include "Platform/InputCapture.h"
#include "Platform/KeyLabelSource.h"
#include "Services/Input/InputSourceLadder.h"
#include "Services/Input/KeySoundEvent.h"

#include <functional>

// Global key events turned into classified key events for the typing sounds. The callbacks
// run on the keyboard reader's thread (or the GUI thread when only our own windows are
// heard); set them before start() and leave them while it runs.
class KeyboardMonitor {
public:
    static inline const QString threadLabel = QStringLiteral("local.knockwell.keyboard");

    KeyboardMonitor(InputCapture &capture, const KeyLabelSource &labels);

    std::function<void(const KeySoundEvent &)> onEvent;
    // Asked for each key-down that is not an auto-repeat: whether the key's label may be
    // shown. Without it no label is made.
    std::function<bool()> wantsLabel;
    // Asked with it: while typing goes into a password field no label is made either.
    std::function<bool()> isSecureInput;

    // True when a source runs; false when none could start.
    bool start();
    void stop();
    bool isRunning() const { return m_ladder.level().has_value(); }
    std::optional<InputCaptureLevel> captureLevel() const { return m_ladder.level(); }

    // The key event for one raw transition.
    KeySoundEvent makeEvent(const RawInputEvent &raw) const;

private:
    const KeyLabelSource &m_labels;
    InputSourceLadder m_ladder;
};

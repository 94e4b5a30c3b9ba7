#include "Effects/EscapeKeyMonitor.h"

#include <QMetaObject>

EscapeKeyMonitor::EscapeKeyMonitor(InputCapture &capture)
    : m_ladder(capture, InputDeviceClass::keyboard, threadLabel,
               {InputCaptureLevel::globalFallback, InputCaptureLevel::eventTap})
{
}

EscapeKeyMonitor::~EscapeKeyMonitor()
{
    stop();
}

bool EscapeKeyMonitor::start()
{
    if (isListening())
        return true;
    // Created on the GUI thread, so the hop lands there. The source has stopped calling the
    // handler before the receiver is deleted, and deleting it drops the hops still queued.
    auto receiver = std::make_unique<QObject>();
    auto handler = [this, target = receiver.get()](const RawInputEvent &event) {
        if (event.value != 1)
            return;
        QMetaObject::invokeMethod(
            target,
            [this, code = event.code] {
                if (onKeyCode)
                    onKeyCode(code);
            },
            Qt::QueuedConnection);
    };
    if (!m_ladder.start(handler))
        return false;
    m_receiver = std::move(receiver);
    return true;
}

void EscapeKeyMonitor::stop()
{
    m_ladder.stop();
    m_receiver.reset();
}

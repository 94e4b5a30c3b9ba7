#include "Effects/EscapeKeyMonitor.h"

#include <QMetaObject>

EscapeKeyMonitor::EscapeKeyMonitor(InputCapture &capture)
    : m_capture(capture)
{
}

EscapeKeyMonitor::~EscapeKeyMonitor()
{
    stop();
}

bool EscapeKeyMonitor::start()
{
    if (m_source)
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
    for (auto level : {InputCaptureLevel::globalFallback, InputCaptureLevel::eventTap}) {
        auto source = m_capture.makeSource(level, InputDeviceClass::keyboard, threadLabel);
        if (source && source->start(handler)) {
            m_source = std::move(source);
            m_receiver = std::move(receiver);
            return true;
        }
    }
    return false;
}

void EscapeKeyMonitor::stop()
{
    if (!m_source)
        return;
    m_source->stop();
    m_source.reset();
    m_receiver.reset();
}

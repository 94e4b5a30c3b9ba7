#include "Effects/EscapeKeyMonitor.h"

#include <QMetaObject>

namespace {
std::vector<InputCaptureLevel> levels(EscapeKeyMonitor::Reach reach)
{
    std::vector<InputCaptureLevel> levels{InputCaptureLevel::globalFallback, InputCaptureLevel::eventTap};
    if (reach == EscapeKeyMonitor::Reach::desktopElseOwnWindows)
        levels.push_back(InputCaptureLevel::appOnly);
    return levels;
}
}

EscapeKeyMonitor::EscapeKeyMonitor(InputCapture &capture, Reach reach)
    : m_ladder(capture, InputDeviceClass::keyboard, threadLabel, levels(reach))
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

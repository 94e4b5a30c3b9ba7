#pragma once

#include "Platform/InputCapture.h"

#include <QObject>

class QKeyEvent;

// Key or button events of our own windows only, seen by an application-wide event filter
// on the GUI thread. Every event is taken where it reaches its window, so one that
// propagates through several widgets is seen once.
class QtWindowEventSource final : public QObject, public InputEventSource {
public:
    explicit QtWindowEventSource(InputDeviceClass deviceClass);
    ~QtWindowEventSource() override;

    bool start(Handler handler) override;
    void stop() override;

    // The evdev code of a Qt key event: from the native scan code where the platform gives
    // one, else from the Qt key for the common keys; 0 when unknown.
    static std::uint16_t keyCode(const QKeyEvent &event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    InputDeviceClass m_deviceClass;
    Handler m_handler;
    bool m_installed = false;
};

#pragma once

#include "Platform/InputCapture.h"
#include "Platform/Linux/StoppableThread.h"

#include <QString>

#include <xcb/xcb.h>

#include <bitset>

// Raw key or button events of every device, from the X server's input extension (XInput
// 2.2) on the root window. They include the events of our own windows.
class XInputEventSource final : public InputEventSource {
public:
    XInputEventSource(InputDeviceClass deviceClass, QString threadLabel);
    ~XInputEventSource() override;

    // Whether this session has an X server with XInput 2.2.
    static bool available();

    bool start(Handler handler) override;
    void stop() override;

private:
    void run(int stopFd);
    void handleQueued();
    void drain();
    void handle(const xcb_generic_event_t *event);

    InputDeviceClass m_deviceClass;
    QString m_threadLabel;
    Handler m_handler;
    xcb_connection_t *m_connection = nullptr;
    std::uint8_t m_opcode = 0;
    std::bitset<256> m_pressed;
    StoppableThread m_thread;
};

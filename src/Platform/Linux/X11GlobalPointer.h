#pragma once

#include "Platform/GlobalPointer.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>

// Raw button and motion events of the X server's input extension, selected on the root
// window through Qt's own X connection and read by a native event filter on the GUI thread,
// so no second connection or thread is needed. Raw events include clicks on our own windows:
// they are the only source of clicks, so each click counts once. The position is Qt's. The
// selection belongs to the connection: one instance per application.
class X11GlobalPointer final : public GlobalPointer, private QAbstractNativeEventFilter {
public:
    X11GlobalPointer() = default;
    ~X11GlobalPointer() override;

    QPoint position() const override;
    bool leftButtonIsDown() const override { return m_leftDown; }
    bool start(Handler handler) override;
    void stop() override;

private:
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;
    bool select(std::uint32_t mask);
    void deliverMotion();

    Handler m_handler;
    std::uint8_t m_opcode = 0;
    bool m_started = false;
    bool m_leftDown = false;
    bool m_motionPending = false;
};

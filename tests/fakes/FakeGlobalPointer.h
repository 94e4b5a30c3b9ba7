#pragma once

#include "Platform/GlobalPointer.h"

// A pointer the test moves and clicks by hand.
class FakeGlobalPointer final : public GlobalPointer {
public:
    QPoint position() const override { return at; }
    bool leftButtonIsDown() const override { return down; }
    bool start(Handler handler) override
    {
        if (!startable)
            return false;
        m_handler = std::move(handler);
        return true;
    }
    void stop() override { m_handler = nullptr; }
    bool isStarted() const { return bool(m_handler); }

    void moveTo(QPoint point)
    {
        at = point;
        send(Event::moved);
    }
    void press()
    {
        down = true;
        send(Event::leftDown);
    }
    void release()
    {
        down = false;
        send(Event::leftUp);
    }

    QPoint at;
    bool down = false;
    // False for a session without desktop-wide pointer events.
    bool startable = true;

private:
    void send(Event event)
    {
        if (m_handler)
            m_handler(event);
    }
    Handler m_handler;
};

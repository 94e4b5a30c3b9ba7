#pragma once

#include "Platform/MotionSensor.h"

// A sensor whose readings the test hands over on its own thread.
class FakeMotionSensor final : public MotionSensor {
public:
    explicit FakeMotionSensor(bool startable = true) : m_startable(startable) {}

    bool start(Handler handler, const QString &threadLabel) override
    {
        if (!m_startable)
            return false;
        m_handler = std::move(handler);
        label = threadLabel;
        return true;
    }
    void stop() override { m_handler = nullptr; }
    void send(const MotionSample &sample)
    {
        if (m_handler)
            m_handler(sample);
    }
    bool running() const { return bool(m_handler); }

    QString label;

private:
    bool m_startable;
    Handler m_handler;
};

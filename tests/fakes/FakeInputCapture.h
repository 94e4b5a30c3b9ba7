#pragma once

#include "Platform/InputCapture.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

// An input source the test drives by hand; it leaves its capture's list when destroyed.
class FakeInputSource final : public InputEventSource {
public:
    FakeInputSource(bool startable, std::function<void()> onDestroyed)
        : m_startable(startable)
        , m_onDestroyed(std::move(onDestroyed))
    {
    }
    ~FakeInputSource() override { m_onDestroyed(); }

    bool start(Handler handler) override
    {
        if (!m_startable)
            return false;
        m_handler = std::move(handler);
        running = true;
        return true;
    }
    void stop() override
    {
        running = false;
        m_handler = nullptr;
    }
    void send(std::uint16_t code, std::int32_t value)
    {
        if (m_handler)
            m_handler(RawInputEvent{code, value});
    }

    bool running = false;

private:
    bool m_startable;
    std::function<void()> m_onDestroyed;
    Handler m_handler;
};

// Offers a source per level when the test says that level works in this "session".
class FakeInputCapture final : public InputCapture {
public:
    std::unique_ptr<InputEventSource> makeSource(InputCaptureLevel level, InputDeviceClass deviceClass,
                                                 const QString &threadLabel) override
    {
        requestedLabels.push_back(threadLabel);
        const auto found = available.find(level);
        if (found == available.end())
            return nullptr;
        auto source = std::make_unique<FakeInputSource>(found->second, [this, level, deviceClass] {
            sources.erase(level);
            sourcesByClass.erase({level, deviceClass});
        });
        sources[level] = source.get();
        sourcesByClass[{level, deviceClass}] = source.get();
        ++madeCount;
        return source;
    }

    // Level -> whether its source starts; missing levels offer no source at all.
    std::map<InputCaptureLevel, bool> available;
    // The sources that still exist.
    std::map<InputCaptureLevel, FakeInputSource *> sources;
    // The same, told apart by device class, for sessions where keyboard and mouse both listen.
    std::map<std::pair<InputCaptureLevel, InputDeviceClass>, FakeInputSource *> sourcesByClass;
    std::vector<QString> requestedLabels;
    int madeCount = 0;
};

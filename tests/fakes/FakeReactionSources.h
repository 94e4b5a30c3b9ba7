#pragma once

#include "Platform/DirectoryWatcher.h"
#include "Platform/DisplayWatcher.h"
#include "Platform/MountWatcher.h"
#include "Platform/PowerSource.h"
#include "Platform/SleepMonitor.h"

// Power readings the test sends by hand.
class FakePowerSource final : public PowerSource {
public:
    void start(Handler handler) override
    {
        m_handler = std::move(handler);
        running = true;
    }
    void stop() override
    {
        m_handler = nullptr;
        running = false;
    }
    void send(std::optional<PowerSnapshot> snapshot)
    {
        if (m_handler)
            m_handler(snapshot);
    }
    bool running = false;

private:
    Handler m_handler;
};

// A source of one kind of event the test sends by hand.
template <typename Interface, typename Value>
class FakeEventSource final : public Interface {
public:
    bool start(typename Interface::Handler handler) override
    {
        m_handler = std::move(handler);
        running = true;
        return true;
    }
    void stop() override
    {
        m_handler = nullptr;
        running = false;
    }
    void send(Value value)
    {
        if (m_handler)
            m_handler(value);
    }
    bool running = false;

private:
    typename Interface::Handler m_handler;
};

using FakeSleepMonitor = FakeEventSource<SleepMonitor, SleepTransition>;
using FakeDisplayWatcher = FakeEventSource<DisplayWatcher, DisplayChange>;

// A mount table the test edits; change() announces the edit as the kernel would.
class FakeMountWatcher final : public MountWatcher {
public:
    bool start(Handler onChange) override
    {
        m_onChange = std::move(onChange);
        running = true;
        return true;
    }
    void stop() override
    {
        m_onChange = nullptr;
        running = false;
    }
    QList<MountEntry> mounts() const override { return table; }
    void change(QList<MountEntry> newTable)
    {
        table = std::move(newTable);
        if (m_onChange)
            m_onChange();
    }
    QList<MountEntry> table;
    bool running = false;

private:
    Handler m_onChange;
};

// A watched folder whose files the test announces by name.
class FakeDirectoryWatcher final : public DirectoryWatcher {
public:
    bool start(const QString &watched, Handler handler) override
    {
        folder = watched;
        m_handler = std::move(handler);
        return true;
    }
    void stop() override
    {
        folder.clear();
        m_handler = nullptr;
    }
    void arrive(const QString &fileName)
    {
        if (m_handler)
            m_handler(fileName);
    }
    QString folder;

private:
    Handler m_handler;
};

#pragma once

#include "Platform/InputCapture.h"
#include "Platform/Linux/EvdevDeviceWatcher.h"
#include "Platform/Linux/StoppableThread.h"

#include <QString>

#include <memory>
#include <vector>

// One thread reading key or button events from a set of evdev fds, picking up devices
// that come and go through a watcher. The thread sleeps in poll() on the devices, the
// watcher and a stop signal; nothing polls on a timer.
class EvdevReaderThread {
public:
    struct Device {
        int fd = -1;
        QString node;
    };

    EvdevReaderThread(QString threadLabel, InputDeviceClass deviceClass);
    ~EvdevReaderThread();
    EvdevReaderThread(const EvdevReaderThread &) = delete;
    EvdevReaderThread &operator=(const EvdevReaderThread &) = delete;

    // Takes ownership of the device fds (closed when the thread ends or the device goes, or at
    // once when the thread is already running or cannot start).
    // The watcher may be null. False only when the thread could not be set up.
    bool start(std::vector<Device> devices, std::unique_ptr<EvdevDeviceWatcher> watcher,
               InputEventSource::Handler handler);
    // Handles what the devices have already delivered, then ends the thread.
    void stop();

private:
    struct OpenDevice;
    void run(std::vector<OpenDevice> devices, int stopFd);

    QString m_threadLabel;
    InputDeviceClass m_deviceClass;
    std::unique_ptr<EvdevDeviceWatcher> m_watcher;
    InputEventSource::Handler m_handler;
    StoppableThread m_thread;
};

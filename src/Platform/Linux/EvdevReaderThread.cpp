#include "Platform/Linux/EvdevReaderThread.h"

#include "Foundation/UniqueFd.h"
#include "Platform/Linux/EvdevRecordReader.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

struct EvdevReaderThread::OpenDevice {
    OpenDevice(QString node, UniqueFd fd)
        : node(std::move(node))
        , fd(std::move(fd))
        , reader(this->fd.get())
    {
    }

    QString node;
    UniqueFd fd;
    EvdevRecordReader reader;
};

EvdevReaderThread::EvdevReaderThread(QString threadLabel, InputDeviceClass deviceClass)
    : m_threadLabel(std::move(threadLabel))
    , m_deviceClass(deviceClass)
{
}

EvdevReaderThread::~EvdevReaderThread()
{
    stop();
}

bool EvdevReaderThread::start(std::vector<Device> devices, std::unique_ptr<EvdevDeviceWatcher> watcher,
                              InputEventSource::Handler handler)
{
    std::vector<OpenDevice> owned;
    owned.reserve(devices.size());
    for (const auto &device : devices)
        owned.emplace_back(device.node, UniqueFd(device.fd));
    if (m_thread.isRunning())
        return true;
    m_watcher = std::move(watcher);
    m_handler = std::move(handler);
    if (!m_thread.start(m_threadLabel,
                        [this, owned = std::move(owned)](int stopFd) mutable { run(std::move(owned), stopFd); })) {
        m_watcher.reset();
        return false;
    }
    return true;
}

void EvdevReaderThread::stop()
{
    m_thread.stop();
    m_watcher.reset();
}

void EvdevReaderThread::run(std::vector<OpenDevice> devices, int stopFd)
{
    const auto sink = [this](const input_event &event) {
        if (event.type == EV_KEY && InputCodes::accepts(m_deviceClass, event.code))
            m_handler(RawInputEvent{event.code, event.value});
    };
    const auto closeDevice = [&devices](std::size_t index) { devices.erase(devices.begin() + std::ptrdiff_t(index)); };

    // Applies the watcher's pending changes, if any, so that a removed device is not read
    // after its removal was announced. Returns whether the device list changed.
    const auto applyChanges = [&]() {
        if (!m_watcher)
            return false;
        pollfd watcherFd{m_watcher->fd(), POLLIN, 0};
        if (::poll(&watcherFd, 1, 0) <= 0 || watcherFd.revents == 0)
            return false;
        for (const auto &change : m_watcher->receive()) {
            const auto known = std::find_if(devices.begin(), devices.end(),
                                            [&](const OpenDevice &device) { return device.node == change.node; });
            if (change.kind == EvdevDeviceChange::Kind::removed) {
                if (known != devices.end())
                    closeDevice(std::size_t(known - devices.begin()));
            } else if (known == devices.end()) {
                if (UniqueFd fd = m_watcher->open(change.node))
                    devices.emplace_back(change.node, std::move(fd));
            }
        }
        return true;
    };

    std::vector<pollfd> fds;
    for (;;) {
        fds.clear();
        fds.push_back({stopFd, POLLIN, 0});
        fds.push_back({m_watcher ? m_watcher->fd() : -1, POLLIN, 0});
        for (const auto &device : devices)
            fds.push_back({device.reader.fd(), POLLIN, 0});

        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents != 0) {
            // Events the devices delivered before the stop still count (keys typed just
            // before a quit): one non-blocking pass over every device still plugged in.
            applyChanges();
            for (OpenDevice &device : devices)
                device.reader.readAvailable(sink);
            break;
        }

        // A change announced while poll was looking at the devices is applied before they are
        // read. The device list changed under fds: poll again (anything unread is still pending).
        if (applyChanges())
            continue;

        for (std::size_t i = devices.size(); i-- > 0;) {
            const short revents = fds[i + 2].revents;
            if (revents == 0)
                continue;
            const auto status = devices[i].reader.readAvailable(sink);
            if (status != EvdevRecordReader::Status::drained || (revents & (POLLERR | POLLNVAL)))
                closeDevice(i);
        }
    }
}

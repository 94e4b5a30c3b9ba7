#include "Platform/Linux/EvdevDevices.h"

#include <QDir>

#include <libevdev/libevdev.h>
#include <libudev.h>

#include <fcntl.h>

#include <algorithm>

namespace {

struct UdevDeleter {
    void operator()(udev *handle) const { udev_unref(handle); }
    void operator()(udev_enumerate *handle) const { udev_enumerate_unref(handle); }
    void operator()(udev_monitor *handle) const { udev_monitor_unref(handle); }
    void operator()(udev_device *handle) const { udev_device_unref(handle); }
};
template <typename T>
using UdevPointer = std::unique_ptr<T, UdevDeleter>;

bool isEventNode(const QString &node)
{
    return node.startsWith(QLatin1String("/dev/input/event"));
}

class UdevInputWatcher final : public EvdevDeviceWatcher {
public:
    UdevInputWatcher(UdevPointer<udev> context, UdevPointer<udev_monitor> monitor, EvdevDevices::Kind kind)
        : m_context(std::move(context))
        , m_monitor(std::move(monitor))
        , m_kind(kind)
    {
    }

    int fd() const override { return udev_monitor_get_fd(m_monitor.get()); }

    std::vector<EvdevDeviceChange> receive() override
    {
        std::vector<EvdevDeviceChange> changes;
        while (UdevPointer<udev_device> device{udev_monitor_receive_device(m_monitor.get())}) {
            const char *node = udev_device_get_devnode(device.get());
            const char *action = udev_device_get_action(device.get());
            if (!node || !action || !isEventNode(QString::fromUtf8(node)))
                continue;
            const QByteArray what(action);
            if (what == "add")
                changes.push_back({EvdevDeviceChange::Kind::added, QString::fromUtf8(node)});
            else if (what == "remove")
                changes.push_back({EvdevDeviceChange::Kind::removed, QString::fromUtf8(node)});
        }
        return changes;
    }

    UniqueFd open(const QString &node) override { return EvdevDevices::openMatching(node, m_kind); }

private:
    UdevPointer<udev> m_context;
    UdevPointer<udev_monitor> m_monitor;
    EvdevDevices::Kind m_kind;
};

}

QStringList EvdevDevices::nodes()
{
    QStringList found;
    UdevPointer<udev> context{udev_new()};
    if (context) {
        UdevPointer<udev_enumerate> enumerate{udev_enumerate_new(context.get())};
        if (enumerate && udev_enumerate_add_match_subsystem(enumerate.get(), "input") >= 0
            && udev_enumerate_scan_devices(enumerate.get()) >= 0) {
            udev_list_entry *entry = nullptr;
            udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get()))
            {
                UdevPointer<udev_device> device{udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry))};
                const char *node = device ? udev_device_get_devnode(device.get()) : nullptr;
                if (node && isEventNode(QString::fromUtf8(node)))
                    found << QString::fromUtf8(node);
            }
        }
    }
    if (found.isEmpty()) {
        const QDir folder(QStringLiteral("/dev/input"));
        for (const QString &name : folder.entryList({QStringLiteral("event*")}, QDir::System | QDir::Files))
            found << folder.filePath(name);
    }
    found.sort();
    return found;
}

bool EvdevDevices::matches(const libevdev *device, Kind kind)
{
    const bool accelerometer = libevdev_has_property(device, INPUT_PROP_ACCELEROMETER);
    switch (kind) {
    case Kind::keyboard:
        return !accelerometer
            && (libevdev_has_event_code(device, EV_KEY, KEY_A) || libevdev_has_event_code(device, EV_KEY, KEY_SPACE)
                || libevdev_has_event_code(device, EV_KEY, KEY_KP0));
    case Kind::mouse:
        return !accelerometer && libevdev_has_event_code(device, EV_KEY, BTN_LEFT);
    case Kind::accelerometer:
        return accelerometer && libevdev_has_event_code(device, EV_ABS, ABS_X)
            && libevdev_has_event_code(device, EV_ABS, ABS_Y) && libevdev_has_event_code(device, EV_ABS, ABS_Z);
    }
    return false;
}

UniqueFd EvdevDevices::openMatching(const QString &node, Kind kind)
{
    UniqueFd fd(::open(node.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd)
        return fd;
    libevdev *device = nullptr;
    const bool wanted = libevdev_new_from_fd(fd.get(), &device) == 0 && matches(device, kind);
    if (device)
        libevdev_free(device);
    return wanted ? std::move(fd) : UniqueFd();
}

bool EvdevDevices::anyReadable(Kind kind)
{
    const QStringList all = nodes();
    return std::any_of(all.begin(), all.end(), [kind](const QString &node) { return bool(openMatching(node, kind)); });
}

std::unique_ptr<EvdevDeviceWatcher> EvdevDevices::watcher(Kind kind)
{
    UdevPointer<udev> context{udev_new()};
    if (!context)
        return nullptr;
    UdevPointer<udev_monitor> monitor{udev_monitor_new_from_netlink(context.get(), "udev")};
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "input", nullptr) < 0
        || udev_monitor_enable_receiving(monitor.get()) < 0)
        return nullptr;
    const int fd = udev_monitor_get_fd(monitor.get());
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    return std::make_unique<UdevInputWatcher>(std::move(context), std::move(monitor), kind);
}

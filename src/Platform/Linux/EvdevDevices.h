#pragma once

#include "Foundation/UniqueFd.h"
#include "Platform/Linux/EvdevDeviceWatcher.h"

#include <QString>
#include <QStringList>

#include <memory>

struct libevdev;

// Finding and opening evdev devices by what they can report.
namespace EvdevDevices {
enum class Kind { keyboard, mouse, accelerometer };

// The /dev/input/event* nodes of this machine, from udev or, without it, the folder.
QStringList nodes();
bool matches(const libevdev *device, Kind kind);
// A read-only, non-blocking fd of the node when it is a device of that kind and readable;
// none otherwise.
UniqueFd openMatching(const QString &node, Kind kind);
// Whether at least one device of that kind can be read by this user.
bool anyReadable(Kind kind);
// Hot-plug notices for devices of that kind; null when udev offers none here.
std::unique_ptr<EvdevDeviceWatcher> watcher(Kind kind);
}

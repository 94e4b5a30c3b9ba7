#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Industrial-I/O sensors as sysfs presents them, under a root that tests replace with a
// folder of their own ("/sys" on a real machine).
namespace IioSysfs {
// The iio:device* folders, in name order.
QStringList devices(const QString &sysfsRoot);
// The first device that has every one of the given files.
std::optional<QString> deviceWith(const QString &sysfsRoot, const QStringList &files);
// A number read from a sysfs attribute file.
std::optional<double> readNumber(const QString &path);

// How a channel's raw value becomes a value in its unit: (raw + offset) * scale, with
// the channel's own scale and offset preferred over the shared ones.
struct Conversion {
    double scale = 1.0;
    double offset = 0.0;
};
Conversion conversion(const QString &device, const QString &channelPrefix, const QString &sharedPrefix);
}

#include "Platform/Linux/IioSysfs.h"

#include "Foundation/SafeFiles.h"

#include <QDir>

QStringList IioSysfs::devices(const QString &sysfsRoot)
{
    const QDir folder(sysfsRoot + QStringLiteral("/bus/iio/devices"));
    QStringList found;
    for (const QString &name : folder.entryList({QStringLiteral("iio:device*")}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        found << folder.filePath(name);
    return found;
}

std::optional<QString> IioSysfs::deviceWith(const QString &sysfsRoot, const QStringList &files)
{
    for (const QString &device : devices(sysfsRoot)) {
        const QDir folder(device);
        if (std::all_of(files.begin(), files.end(), [&](const QString &file) { return folder.exists(file); }))
            return device;
    }
    return std::nullopt;
}

std::optional<double> IioSysfs::readNumber(const QString &path)
{
    const std::optional<QByteArray> text = SafeFiles::readForeign(path, ForeignFiles::kernelAttribute);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const double value = text->trimmed().toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

IioSysfs::Conversion IioSysfs::conversion(const QString &device, const QString &channelPrefix, const QString &sharedPrefix)
{
    const QDir folder(device);
    const auto attribute = [&](const QString &name) {
        if (auto own = readNumber(folder.filePath(channelPrefix + name)))
            return own;
        return readNumber(folder.filePath(sharedPrefix + name));
    };
    return {attribute(QStringLiteral("_scale")).value_or(1.0), attribute(QStringLiteral("_offset")).value_or(0.0)};
}

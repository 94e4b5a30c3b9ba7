#include "Platform/Linux/HIDLidAngleReader.h"

#include "Platform/Linux/IioSysfs.h"

#include <QDir>

#include <cmath>
#include <numbers>

namespace {

struct Channel {
    QString device;
    QString prefix;
};

std::optional<Channel> hingeChannel(const QString &sysfsRoot)
{
    for (const QString &prefix : {QStringLiteral("in_angl0"), QStringLiteral("in_angl")}) {
        if (auto device = IioSysfs::deviceWith(sysfsRoot, {prefix + QStringLiteral("_raw")}))
            return Channel{*device, prefix};
    }
    return std::nullopt;
}

}

std::optional<QString> HIDLidAngleReader::matchingService(const QString &sysfsRoot)
{
    if (auto channel = hingeChannel(sysfsRoot))
        return channel->device;
    return std::nullopt;
}

HIDLidAngleReader::HIDLidAngleReader(const QString &sysfsRoot)
{
    const auto channel = hingeChannel(sysfsRoot);
    if (!channel)
        return;
    m_rawPath = QDir(channel->device).filePath(channel->prefix + QStringLiteral("_raw"));
    const auto conversion = IioSysfs::conversion(channel->device, channel->prefix, QStringLiteral("in_angl"));
    m_scale = conversion.scale;
    m_offset = conversion.offset;
}

std::optional<double> HIDLidAngleReader::readAngle()
{
    if (!m_rawPath)
        return std::nullopt;
    const auto raw = IioSysfs::readNumber(*m_rawPath);
    if (!raw)
        return std::nullopt;
    // IIO angles are radians once scaled.
    const double degrees = (*raw + m_offset) * m_scale * 180.0 / std::numbers::pi;
    if (!std::isfinite(degrees) || degrees < 0.0 || degrees > 360.0)
        return std::nullopt;
    return degrees;
}

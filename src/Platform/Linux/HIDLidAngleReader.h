#pragma once

#include "Platform/LidAngleReading.h"

#include <QString>

#include <optional>

// The hinge-angle sensor of convertible and some clamshell laptops, an IIO angle channel
// (in_angl0_raw, or in_angl_raw).
class HIDLidAngleReader final : public LidAngleReading {
public:
    static inline const QString defaultSysfsRoot = QStringLiteral("/sys");

    // The sensor's device folder, or none when this machine has no hinge sensor.
    static std::optional<QString> matchingService(const QString &sysfsRoot = defaultSysfsRoot);

    explicit HIDLidAngleReader(const QString &sysfsRoot = defaultSysfsRoot);

    bool isAvailable() const override { return m_rawPath.has_value(); }
    std::optional<double> readAngle() override;

private:
    std::optional<QString> m_rawPath;
    double m_scale = 1.0;
    double m_offset = 0.0;
};

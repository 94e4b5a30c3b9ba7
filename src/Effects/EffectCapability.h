#pragma once

#include "Foundation/RawEnum.h"

#include <QHashFunctions>
#include <QSet>

// Something an effect module needs from this computer before it may run.
enum class EffectCapability { inputMonitoring, motionSensor, lidAngleSensor };

template <>
struct RawEnumTable<EffectCapability> {
    static constexpr std::array entries{
        RawEnumEntry{EffectCapability::inputMonitoring, "input-monitoring"},
        RawEnumEntry{EffectCapability::motionSensor, "motion-sensor"},
        RawEnumEntry{EffectCapability::lidAngleSensor, "lid-angle-sensor"},
    };
};

inline size_t qHash(EffectCapability capability, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(capability), seed);
}

using EffectCapabilities = QSet<EffectCapability>;

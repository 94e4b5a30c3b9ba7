#pragma once

#include "Foundation/RawEnum.h"

enum class ChargingVisualStyle { burst, quiet };

template <>
struct RawEnumTable<ChargingVisualStyle> {
    static constexpr std::array entries{RawEnumEntry{ChargingVisualStyle::burst, "burst"},
                                        RawEnumEntry{ChargingVisualStyle::quiet, "quiet"}};
};

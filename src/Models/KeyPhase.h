#pragma once

#include "Foundation/RawEnum.h"

// Press or release of a key or button.
enum class KeyPhase { down, up };

template <>
struct RawEnumTable<KeyPhase> {
    static constexpr std::array entries{RawEnumEntry{KeyPhase::down, "down"}, RawEnumEntry{KeyPhase::up, "up"}};
};

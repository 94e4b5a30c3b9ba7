#pragma once

#include "Foundation/RawEnum.h"

enum class CursorRippleStyle { bubbles, stars, neon, petals, crosshair };

template <>
struct RawEnumTable<CursorRippleStyle> {
    static constexpr std::array entries{
        RawEnumEntry{CursorRippleStyle::bubbles, "bubbles"}, RawEnumEntry{CursorRippleStyle::stars, "stars"},
        RawEnumEntry{CursorRippleStyle::neon, "neon"},       RawEnumEntry{CursorRippleStyle::petals, "petals"},
        RawEnumEntry{CursorRippleStyle::crosshair, "crosshair"},
    };
};

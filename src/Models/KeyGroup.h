#pragma once

#include "Foundation/RawEnum.h"

#include <QHashFunctions>

// The sample assignments of a pack; the raw values are the keys of a manifest's "groups".
enum class KeyGroup {
    regular,
    space,
    enter,
    delete_,
    modifier,
    tabCaps,
    arrows,
    escape,
    function,
    mouseLeft,
    mouseRight,
    mouseOther,
    reaction,
};

template <>
struct RawEnumTable<KeyGroup> {
    static constexpr std::array entries{
        RawEnumEntry{KeyGroup::regular, "regular"},       RawEnumEntry{KeyGroup::space, "space"},
        RawEnumEntry{KeyGroup::enter, "enter"},           RawEnumEntry{KeyGroup::delete_, "delete"},
        RawEnumEntry{KeyGroup::modifier, "modifier"},     RawEnumEntry{KeyGroup::tabCaps, "tabCaps"},
        RawEnumEntry{KeyGroup::arrows, "arrows"},         RawEnumEntry{KeyGroup::escape, "escape"},
        RawEnumEntry{KeyGroup::function, "function"},     RawEnumEntry{KeyGroup::mouseLeft, "mouseLeft"},
        RawEnumEntry{KeyGroup::mouseRight, "mouseRight"}, RawEnumEntry{KeyGroup::mouseOther, "mouseOther"},
        RawEnumEntry{KeyGroup::reaction, "reaction"},
    };
};

inline size_t qHash(KeyGroup group, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(group), seed);
}

#pragma once

#include "Foundation/RawEnum.h"

enum class LidDanceStyle { tide, aurora, orbit, sunrise, prism };

template <>
struct RawEnumTable<LidDanceStyle> {
    static constexpr std::array entries{
        RawEnumEntry{LidDanceStyle::tide, "tide"},       RawEnumEntry{LidDanceStyle::aurora, "aurora"},
        RawEnumEntry{LidDanceStyle::orbit, "orbit"},     RawEnumEntry{LidDanceStyle::sunrise, "sunrise"},
        RawEnumEntry{LidDanceStyle::prism, "prism"},
    };
};

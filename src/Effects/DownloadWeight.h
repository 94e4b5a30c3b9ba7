#pragma once

#include "Foundation/RawEnum.h"

// How big a finished download is, in three steps.
enum class DownloadWeight { light, medium, heavy };

template <>
struct RawEnumTable<DownloadWeight> {
    static constexpr std::array entries{RawEnumEntry{DownloadWeight::light, "light"},
                                        RawEnumEntry{DownloadWeight::medium, "medium"},
                                        RawEnumEntry{DownloadWeight::heavy, "heavy"}};
};

#pragma once

#include <QMetaType>

#include <cstdint>

// Key and click totals with the typing speed of the last minute.
struct InteractionSnapshot {
    std::uint64_t keys = 0;
    std::uint64_t clicks = 0;
    int keysPerMinute = 0;

    bool operator==(const InteractionSnapshot &) const = default;
};

Q_DECLARE_METATYPE(InteractionSnapshot)

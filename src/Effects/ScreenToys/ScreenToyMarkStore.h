#pragma once

#include "Effects/ScreenToys/ScreenToyMark.h"

#include <vector>

// The marks on screen, oldest first, each living `lifetime` seconds, at most `maximumCount`.
struct ScreenToyMarkStore {
    std::vector<ScreenToyMark> marks;
    int maximumCount = 12;
    double lifetime = 3.0;

    void record(ScreenToyMark mark);
    // Drops every mark whose age at `time` has reached the lifetime.
    void expire(double time);
};

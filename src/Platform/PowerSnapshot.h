#pragma once

// The internal battery as last read.
struct PowerSnapshot {
    int percent = 0;
    bool isOnACPower = false;
    bool isCharging = false;

    friend bool operator==(const PowerSnapshot &, const PowerSnapshot &) = default;
};

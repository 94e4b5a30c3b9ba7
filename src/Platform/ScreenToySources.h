#pragma once

#include "Platform/Dummy/NoGlobalPointer.h"
#include "Platform/Dummy/NoReduceMotionProbe.h"
#include "Platform/GlobalPointer.h"
#include "Platform/ReduceMotionProbe.h"
#include "Platform/SleepMonitor.h"

#include <memory>

// What the screen toys need of the desktop beyond global keys and overlay windows: the
// pointer and its left button anywhere, the wish for less motion, and sleep, which puts a toy
// away. Sleep is a monitor of their own, so toys are put away whether or not sleep reactions
// are on; null when the session cannot tell.
struct ScreenToySources {
    std::unique_ptr<GlobalPointer> pointer = std::make_unique<NoGlobalPointer>();
    std::unique_ptr<ReduceMotionProbe> reduceMotion = std::make_unique<NoReduceMotionProbe>();
    std::unique_ptr<SleepMonitor> sleep;
};

#pragma once

#include "Platform/ReduceMotionProbe.h"

// A desktop that never asks for less motion.
class NoReduceMotionProbe final : public ReduceMotionProbe {
public:
    bool reduceMotion() const override { return false; }
};

#pragma once

#include "Platform/ReduceMotionProbe.h"

class FakeReduceMotionProbe final : public ReduceMotionProbe {
public:
    bool reduceMotion() const override { return reduce; }
    bool reduce = false;
};

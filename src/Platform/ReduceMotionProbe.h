#pragma once

// The desktop's wish for less motion on screen.
class ReduceMotionProbe {
public:
    virtual ~ReduceMotionProbe() = default;
    virtual bool reduceMotion() const = 0;
};

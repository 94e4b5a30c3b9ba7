#pragma once

#include "Effects/EffectCapability.h"
#include "Effects/EffectID.h"

// One switchable feature the effect engine starts, stops and resets.
class EffectModule {
public:
    virtual ~EffectModule() = default;
    virtual EffectID id() const = 0;
    virtual EffectCapabilities requiredCapabilities() const = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual void reset() = 0;
};

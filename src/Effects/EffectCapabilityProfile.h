#pragma once

#include "Effects/EffectCapability.h"

// The capabilities present on this computer; allowsAll lets every module run regardless.
struct EffectCapabilityProfile {
    EffectCapabilities available;
    bool allowsAll = false;

    bool satisfies(const EffectCapabilities &required) const
    {
        return allowsAll || available.contains(required);
    }

    friend bool operator==(const EffectCapabilityProfile &, const EffectCapabilityProfile &) = default;
};

#pragma once

#include "Platform/OverlayWindowSupport.h"

// A display whose compositor the test switches on and off.
class FakeOverlayWindowSupport final : public OverlayWindowSupport {
public:
    bool blendsTranslucentWindows() const override { return blends; }
    bool blends = true;
};

#pragma once

#include "Platform/OverlayWindowSupport.h"

// A display that always blends translucent windows (Wayland, offscreen).
class CompositedOverlayWindowSupport final : public OverlayWindowSupport {
public:
    bool blendsTranslucentWindows() const override { return true; }
};

#pragma once

// What the display offers overlay windows.
class OverlayWindowSupport {
public:
    virtual ~OverlayWindowSupport() = default;
    // Whether a compositor blends translucent windows; without one they must be shaped,
    // or their transparent pixels show black.
    virtual bool blendsTranslucentWindows() const = 0;
};

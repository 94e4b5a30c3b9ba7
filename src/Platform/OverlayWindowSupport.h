#pragma once

class QWindow;

// What the display offers overlay windows.
class OverlayWindowSupport {
public:
    virtual ~OverlayWindowSupport() = default;
    // Whether a compositor blends translucent windows; without one they must be shaped,
    // or their transparent pixels show black.
    virtual bool blendsTranslucentWindows() const = 0;
    // Asks the window manager to show a window on every workspace; call before showing it.
    // Display servers without workspaces ignore it.
    virtual void keepOnEveryWorkspace(QWindow &window) const {}
};

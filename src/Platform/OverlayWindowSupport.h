#pragma once

#include <QRegion>

class QWindow;

// What the display offers overlay windows.
class OverlayWindowSupport {
public:
    virtual ~OverlayWindowSupport() = default;
    // Whether a compositor blends translucent windows; without one they must be shaped,
    // or their transparent pixels show black.
    virtual bool blendsTranslucentWindows() const = 0;
    // Asks the window manager to show a window on every workspace and to keep it out of task
    // bars and pagers, before or after it is shown. Display servers without workspaces ignore it.
    virtual void keepOnEveryWorkspace(QWindow &window) const {}
    // Limits the part of a shown window that catches the pointer, in its own coordinates;
    // clicks elsewhere reach the windows beneath. Displays that cannot do this keep the whole
    // window catching the pointer.
    virtual void setInputRegion(QWindow &window, const QRegion &region) const {}
};

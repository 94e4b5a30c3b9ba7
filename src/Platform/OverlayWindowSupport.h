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
    // Limits the part of a shown window that catches the pointer, in its own coordinates;
    // clicks elsewhere reach the windows beneath. Displays that cannot do this keep the whole
    // window catching the pointer.
    virtual void setInputRegion(QWindow &window, const QRegion &region) const {}
    // Keeps a shown window on every workspace and out of task bars and pagers.
    virtual void pinToAllWorkspaces(QWindow &window) const {}
};

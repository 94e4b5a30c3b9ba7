#pragma once

#include "Platform/OverlayWindowSupport.h"

// Under X11 a compositor owns the selection _NET_WM_CM_S<screen>; other display servers
// (Wayland, offscreen) always blend. Input regions are X shape input regions; workspaces are
// asked of the window manager through its EWMH properties and messages.
class X11OverlayWindowSupport final : public OverlayWindowSupport {
public:
    bool blendsTranslucentWindows() const override;
    void keepOnEveryWorkspace(QWindow &window) const override;
    void setInputRegion(QWindow &window, const QRegion &region) const override;
};

#pragma once

#include "Platform/OverlayWindowSupport.h"

// Under X11 a compositor owns the selection _NET_WM_CM_S<screen>; other display servers
// (Wayland, offscreen) always blend.
class X11OverlayWindowSupport final : public OverlayWindowSupport {
public:
    bool blendsTranslucentWindows() const override;
    void keepOnEveryWorkspace(QWindow &window) const override;
};

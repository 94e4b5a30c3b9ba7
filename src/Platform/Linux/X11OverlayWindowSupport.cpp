#include "Platform/Linux/X11OverlayWindowSupport.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <string>

bool X11OverlayWindowSupport::blendsTranslucentWindows() const
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return true;
    xcb_connection_t *connection = x11->connection();
    if (!connection)
        return true;

    // The screen number is the part after the dot of the display name (":0.1"); 0 without one.
    int screenNumber = 0;
    if (const char *display = std::getenv("DISPLAY")) {
        const std::string name(display);
        const auto colon = name.rfind(':');
        const auto dot = name.find('.', colon == std::string::npos ? 0 : colon);
        if (dot != std::string::npos)
            screenNumber = std::atoi(name.c_str() + dot + 1);
    }
    const std::string selection = "_NET_WM_CM_S" + std::to_string(screenNumber);
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, uint16_t(selection.size()), selection.c_str()), nullptr);
    if (!atom)
        return false;
    const xcb_atom_t selectionAtom = atom->atom;
    std::free(atom);
    if (selectionAtom == XCB_ATOM_NONE)
        return false;
    xcb_get_selection_owner_reply_t *owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selectionAtom), nullptr);
    if (!owner)
        return false;
    const bool owned = owner->owner != XCB_NONE;
    std::free(owner);
    return owned;
}

void X11OverlayWindowSupport::keepOnEveryWorkspace(QWindow &window) const
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    static constexpr char name[] = "_NET_WM_DESKTOP";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    if (!atom)
        return;
    // The workspace number 0xFFFFFFFF stands for all of them.
    const uint32_t everyWorkspace = 0xFFFFFFFF;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()), atom->atom, XCB_ATOM_CARDINAL,
                        32, 1, &everyWorkspace);
    std::free(atom);
    xcb_flush(connection);
}

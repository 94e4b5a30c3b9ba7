#include "Platform/Linux/XkbKeyLabelSource.h"

#include "Foundation/KeyLabelTable.h"

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace {

constexpr std::uint32_t xkbKeycodeOffset = 8;

}

XkbKeyLabelSource::XkbKeyLabelSource()
    : m_context(xkb_context_new(XKB_CONTEXT_NO_FLAGS))
{
    if (!m_context)
        return;
    if (xcb_connection_t *connection = xcb_connect(nullptr, nullptr); !xcb_connection_has_error(connection)) {
        if (xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                        XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr)) {
            const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
            if (device >= 0) {
                m_keymap = xkb_x11_keymap_new_from_device(m_context, connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS);
                if (xkb_state *state = m_keymap ? xkb_x11_state_new_from_device(m_keymap, connection, device) : nullptr) {
                    m_layout = xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE);
                    xkb_state_unref(state);
                }
            }
        }
        xcb_disconnect(connection);
    } else {
        xcb_disconnect(connection);
    }
    if (!m_keymap)
        m_keymap = xkb_keymap_new_from_names(m_context, nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS);
}

XkbKeyLabelSource::~XkbKeyLabelSource()
{
    xkb_keymap_unref(m_keymap);
    xkb_context_unref(m_context);
}

std::optional<QString> XkbKeyLabelSource::label(std::uint16_t keyCode) const
{
    if (auto named = KeyLabelTable::namedKeyLabel(keyCode))
        return named;
    if (m_keymap) {
        const xkb_keysym_t *symbols = nullptr;
        const int count =
            xkb_keymap_key_get_syms_by_level(m_keymap, keyCode + xkbKeycodeOffset, m_layout, 0, &symbols);
        if (count > 0) {
            char text[16] = {};
            if (xkb_keysym_to_utf8(symbols[0], text, sizeof text) > 1) {
                const QString printed = QString::fromUtf8(text);
                if (!printed.isEmpty() && printed.front().isPrint() && !printed.front().isSpace())
                    return KeyLabelTable::clipped(printed.toUpper());
            }
        }
    }
    return KeyLabelTable::label(keyCode);
}

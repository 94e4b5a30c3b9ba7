#pragma once

#include "Platform/KeyLabelSource.h"

#include <cstdint>

struct xkb_context;
struct xkb_keymap;

// Key labels from the keyboard layout the X server uses (or, without one, the layout the
// XKB_DEFAULT_* variables name), read once; named keys and anything the layout prints
// nothing for come from the built-in table.
class XkbKeyLabelSource final : public KeyLabelSource {
public:
    XkbKeyLabelSource();
    ~XkbKeyLabelSource() override;
    XkbKeyLabelSource(const XkbKeyLabelSource &) = delete;
    XkbKeyLabelSource &operator=(const XkbKeyLabelSource &) = delete;

    std::optional<QString> label(std::uint16_t keyCode) const override;

private:
    xkb_context *m_context = nullptr;
    xkb_keymap *m_keymap = nullptr;
    std::uint32_t m_layout = 0;
};

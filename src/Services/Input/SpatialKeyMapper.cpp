#include "Services/Input/SpatialKeyMapper.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <array>
#include <utility>

namespace {

using Placement = std::pair<std::uint16_t, double>;

// Key centres in key widths: the typing block spans 0...15, the navigation cluster
// 15.5...18.5 and the keypad 18.75...22.75.
constexpr std::array placements{
    // Function row.
    Placement{KEY_ESC, 0.5}, Placement{KEY_F1, 2.5}, Placement{KEY_F2, 3.5}, Placement{KEY_F3, 4.5},
    Placement{KEY_F4, 5.5}, Placement{KEY_F5, 7.0}, Placement{KEY_F6, 8.0}, Placement{KEY_F7, 9.0},
    Placement{KEY_F8, 10.0}, Placement{KEY_F9, 11.5}, Placement{KEY_F10, 12.5}, Placement{KEY_F11, 13.5},
    Placement{KEY_F12, 14.5}, Placement{KEY_SYSRQ, 16.0}, Placement{KEY_SCROLLLOCK, 17.0}, Placement{KEY_PAUSE, 18.0},
    // Number row.
    Placement{KEY_GRAVE, 0.5}, Placement{KEY_1, 1.5}, Placement{KEY_2, 2.5}, Placement{KEY_3, 3.5},
    Placement{KEY_4, 4.5}, Placement{KEY_5, 5.5}, Placement{KEY_6, 6.5}, Placement{KEY_7, 7.5},
    Placement{KEY_8, 8.5}, Placement{KEY_9, 9.5}, Placement{KEY_0, 10.5}, Placement{KEY_MINUS, 11.5},
    Placement{KEY_EQUAL, 12.5}, Placement{KEY_YEN, 13.5}, Placement{KEY_BACKSPACE, 14.0},
    // Top letter row.
    Placement{KEY_TAB, 0.75}, Placement{KEY_Q, 2.0}, Placement{KEY_W, 3.0}, Placement{KEY_E, 4.0},
    Placement{KEY_R, 5.0}, Placement{KEY_T, 6.0}, Placement{KEY_Y, 7.0}, Placement{KEY_U, 8.0},
    Placement{KEY_I, 9.0}, Placement{KEY_O, 10.0}, Placement{KEY_P, 11.0}, Placement{KEY_LEFTBRACE, 12.0},
    Placement{KEY_RIGHTBRACE, 13.0}, Placement{KEY_BACKSLASH, 14.25},
    // Home row.
    Placement{KEY_CAPSLOCK, 0.875}, Placement{KEY_A, 2.25}, Placement{KEY_S, 3.25}, Placement{KEY_D, 4.25},
    Placement{KEY_F, 5.25}, Placement{KEY_G, 6.25}, Placement{KEY_H, 7.25}, Placement{KEY_J, 8.25},
    Placement{KEY_K, 9.25}, Placement{KEY_L, 10.25}, Placement{KEY_SEMICOLON, 11.25},
    Placement{KEY_APOSTROPHE, 12.25}, Placement{KEY_ENTER, 13.875},
    // Bottom letter row.
    Placement{KEY_LEFTSHIFT, 1.125}, Placement{KEY_102ND, 1.75}, Placement{KEY_Z, 2.75}, Placement{KEY_X, 3.75},
    Placement{KEY_C, 4.75}, Placement{KEY_V, 5.75}, Placement{KEY_B, 6.75}, Placement{KEY_N, 7.75},
    Placement{KEY_M, 8.75}, Placement{KEY_COMMA, 9.75}, Placement{KEY_DOT, 10.75}, Placement{KEY_SLASH, 11.75},
    Placement{KEY_RO, 12.75}, Placement{KEY_RIGHTSHIFT, 13.625},
    // Space row.
    Placement{KEY_LEFTCTRL, 0.625}, Placement{KEY_FN, 0.625}, Placement{KEY_LEFTMETA, 1.875},
    Placement{KEY_LEFTALT, 3.125}, Placement{KEY_MUHENKAN, 4.25}, Placement{KEY_SPACE, 6.875},
    Placement{KEY_HENKAN, 9.5}, Placement{KEY_RIGHTALT, 10.625}, Placement{KEY_RIGHTMETA, 11.875},
    Placement{KEY_COMPOSE, 13.125}, Placement{KEY_RIGHTCTRL, 14.375},
    // Navigation cluster and arrows.
    Placement{KEY_INSERT, 16.0}, Placement{KEY_HOME, 17.0}, Placement{KEY_PAGEUP, 18.0},
    Placement{KEY_DELETE, 16.0}, Placement{KEY_END, 17.0}, Placement{KEY_PAGEDOWN, 18.0},
    Placement{KEY_UP, 17.0}, Placement{KEY_LEFT, 16.0}, Placement{KEY_DOWN, 17.0}, Placement{KEY_RIGHT, 18.0},
    // Keypad.
    Placement{KEY_NUMLOCK, 19.25}, Placement{KEY_KPSLASH, 20.25}, Placement{KEY_KPASTERISK, 21.25},
    Placement{KEY_KPMINUS, 22.25}, Placement{KEY_KP7, 19.25}, Placement{KEY_KP8, 20.25}, Placement{KEY_KP9, 21.25},
    Placement{KEY_KPPLUS, 22.25}, Placement{KEY_KP4, 19.25}, Placement{KEY_KP5, 20.25}, Placement{KEY_KP6, 21.25},
    Placement{KEY_KP1, 19.25}, Placement{KEY_KP2, 20.25}, Placement{KEY_KP3, 21.25}, Placement{KEY_KPENTER, 22.25},
    Placement{KEY_KP0, 19.75}, Placement{KEY_KPDOT, 21.25}, Placement{KEY_KPEQUAL, 22.25},
    Placement{KEY_KPCOMMA, 21.25}, Placement{KEY_KPJPCOMMA, 21.25},
};

constexpr double typingBlockWidth = 15.0;
constexpr double boardWidth = 22.75;
// The typing block fills most of the stereo field; the clusters to its right share the rest.
constexpr double typingBlockSpread = 0.8;

}

std::optional<double> SpatialKeyMapper::column(std::uint16_t keyCode)
{
    for (const auto &[code, x] : placements) {
        if (code == keyCode)
            return x;
    }
    return std::nullopt;
}

double SpatialKeyMapper::pan(std::uint16_t keyCode)
{
    const auto x = column(keyCode);
    if (!x)
        return 0.0;
    const double half = typingBlockWidth / 2.0;
    if (*x <= typingBlockWidth)
        return (*x - half) / half * typingBlockSpread;
    const double beyond = (*x - typingBlockWidth) / (boardWidth - typingBlockWidth);
    return std::min(1.0, typingBlockSpread + beyond * (1.0 - typingBlockSpread));
}

#pragma once

#include <xcb/xcb.h>

#include <cstdint>

// Asks the X server for the XInput2 events in `bits` (XCB_INPUT_XI_EVENT_MASK_* values) from
// every master device, delivered on `root`. Returns the X error code, or 0 when accepted.
std::uint8_t selectXInputEvents(xcb_connection_t *connection, xcb_window_t root, std::uint32_t bits);

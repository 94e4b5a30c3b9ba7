#include "Platform/Linux/XInputSelection.h"

#include <xcb/xinput.h>

#include <cstdlib>
#include <memory>

std::uint8_t selectXInputEvents(xcb_connection_t *connection, xcb_window_t root, std::uint32_t bits)
{
    // One mask word follows its header, as the request expects.
    struct {
        xcb_input_event_mask_t head;
        std::uint32_t bits;
    } mask{};
    mask.head.deviceid = XCB_INPUT_DEVICE_ALL_MASTER;
    mask.head.mask_len = 1;
    mask.bits = bits;
    std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(
        xcb_request_check(connection, xcb_input_xi_select_events_checked(connection, root, 1, &mask.head)), &std::free);
    return error ? error->error_code : 0;
}

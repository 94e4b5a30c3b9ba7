// A bare X client with a chosen WM_CLASS and title, standing in for another application's
// window in desktop tests. Runs until it is killed or its window is closed.
//   plinkly_wm_class_window INSTANCE CLASS TITLE
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char **argv)
{
    if (argc < 4)
        return 2;
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection))
        return 1;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    xcb_screen_t *screen = screens.data;

    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 100, 100, 320, 200, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);

    const std::string wmClass = std::string(argv[1]) + '\0' + argv[2] + '\0';
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        std::uint32_t(wmClass.size()), wmClass.data());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        std::uint32_t(std::strlen(argv[3])), argv[3]);
    xcb_map_window(connection, window);
    xcb_flush(connection);

    while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
        const bool destroyed = (event->response_type & 0x7f) == XCB_DESTROY_NOTIFY;
        std::free(event);
        if (destroyed)
            break;
    }
    xcb_disconnect(connection);
    return 0;
}

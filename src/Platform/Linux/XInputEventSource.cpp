#include "Platform/Linux/XInputEventSource.h"
#include "Platform/Linux/XInputSelection.h"

#include "Foundation/LogCategories.h"

#include <linux/input-event-codes.h>
#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>
#include <xcb/xinput.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

// X key codes are evdev codes shifted by 8 under the evdev keyboard rules every current
// X server uses.
constexpr std::uint32_t xKeycodeOffset = 8;

// How long a stop waits for the server's answer before giving up on events still in flight.
constexpr std::chrono::milliseconds drainLimit{250};

struct FreeDeleter {
    void operator()(void *pointer) const { std::free(pointer); }
};

// The extension opcode when the connection speaks XInput 2.2 or later, else 0.
std::uint8_t xinputOpcode(xcb_connection_t *connection)
{
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(connection, &xcb_input_id);
    if (!extension || !extension->present)
        return 0;
    std::unique_ptr<xcb_input_xi_query_version_reply_t, FreeDeleter> version(
        xcb_input_xi_query_version_reply(connection, xcb_input_xi_query_version(connection, 2, 2), nullptr));
    if (!version || version->major_version < 2 || (version->major_version == 2 && version->minor_version < 2))
        return 0;
    return extension->major_opcode;
}

std::optional<std::uint16_t> buttonCode(std::uint32_t button)
{
    switch (button) {
    case 1:
        return BTN_LEFT;
    case 2:
        return BTN_MIDDLE;
    case 3:
        return BTN_RIGHT;
    case 4:
    case 5:
    case 6:
    case 7:
        return std::nullopt; // wheel steps, not clicks
    case 8:
        return BTN_SIDE;
    case 9:
        return BTN_EXTRA;
    default:
        return BTN_TASK;
    }
}

}

XInputEventSource::XInputEventSource(InputDeviceClass deviceClass, QString threadLabel)
    : m_deviceClass(deviceClass)
    , m_threadLabel(std::move(threadLabel))
{
}

XInputEventSource::~XInputEventSource()
{
    stop();
}

bool XInputEventSource::available()
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const bool present = !xcb_connection_has_error(connection) && xinputOpcode(connection) != 0;
    xcb_disconnect(connection);
    return present;
}

bool XInputEventSource::start(Handler handler)
{
    if (m_thread.isRunning())
        return true;
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    const std::uint8_t opcode = xcb_connection_has_error(connection) ? 0 : xinputOpcode(connection);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; opcode != 0 && i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (opcode == 0 || screens.rem == 0) {
        qCInfo(logInput) << (xcb_connection_has_error(connection) ? "no X display to connect to" : "the X server lacks XInput2");
        xcb_disconnect(connection);
        return false;
    }

    const std::uint32_t events = m_deviceClass == InputDeviceClass::keyboard
        ? XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE
        : XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE;
    if (const std::uint8_t error = selectXInputEvents(connection, screens.data->root, events); error != 0) {
        qCInfo(logInput) << "the X server refused raw input events, error" << int(error);
        xcb_disconnect(connection);
        return false;
    }
    m_connection = connection;
    m_opcode = opcode;
    m_handler = std::move(handler);
    m_pressed.reset();
    if (!m_thread.start(m_threadLabel, [this](int stopFd) { run(stopFd); })) {
        stop();
        return false;
    }
    return true;
}

void XInputEventSource::stop()
{
    m_thread.stop();
    if (m_connection) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
    }
}

void XInputEventSource::run(int stopFd)
{
    pollfd fds[2] = {{stopFd, POLLIN, 0}, {xcb_get_file_descriptor(m_connection), POLLIN, 0}};
    for (;;) {
        // Events may already sit in the connection's queue before the socket turns readable.
        handleQueued();
        if (xcb_connection_has_error(m_connection))
            return;
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[0].revents != 0) {
            drain();
            return;
        }
    }
}

void XInputEventSource::handleQueued()
{
    while (std::unique_ptr<xcb_generic_event_t, FreeDeleter> event{xcb_poll_for_event(m_connection)})
        handle(event.get());
}

// Keys typed just before a quit are counted: the server sends every event it produced
// before answering a request, so once the answer is in, nothing earlier is still on its way.
void XInputEventSource::drain()
{
    const unsigned int request = xcb_get_input_focus(m_connection).sequence;
    xcb_flush(m_connection);
    const auto deadline = std::chrono::steady_clock::now() + drainLimit;
    for (;;) {
        void *reply = nullptr;
        xcb_generic_error_t *error = nullptr;
        const bool answered = xcb_poll_for_reply(m_connection, request, &reply, &error) != 0;
        std::free(reply);
        std::free(error);
        handleQueued();
        if (answered || xcb_connection_has_error(m_connection))
            return;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            xcb_discard_reply(m_connection, request);
            return;
        }
        pollfd socket{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        ::poll(&socket, 1, int(left.count()));
    }
}

void XInputEventSource::handle(const xcb_generic_event_t *event)
{
    if ((event->response_type & 0x7f) != XCB_GE_GENERIC)
        return;
    const auto *generic = reinterpret_cast<const xcb_ge_generic_event_t *>(event);
    if (generic->extension != m_opcode)
        return;
    const auto *raw = reinterpret_cast<const xcb_input_raw_key_press_event_t *>(event);
    switch (generic->event_type) {
    case XCB_INPUT_RAW_KEY_PRESS:
    case XCB_INPUT_RAW_KEY_RELEASE: {
        if (raw->detail < xKeycodeOffset || raw->detail >= m_pressed.size())
            return;
        const auto code = std::uint16_t(raw->detail - xKeycodeOffset);
        if (!InputCodes::isKeyboardKey(code))
            return;
        std::int32_t value = 0;
        if (generic->event_type == XCB_INPUT_RAW_KEY_PRESS) {
            // The server repeats a held key as further presses.
            value = m_pressed.test(raw->detail) ? 2 : 1;
            m_pressed.set(raw->detail);
        } else {
            m_pressed.reset(raw->detail);
        }
        m_handler(RawInputEvent{code, value});
        return;
    }
    case XCB_INPUT_RAW_BUTTON_PRESS:
    case XCB_INPUT_RAW_BUTTON_RELEASE:
        if (const auto code = buttonCode(raw->detail))
            m_handler(RawInputEvent{*code, generic->event_type == XCB_INPUT_RAW_BUTTON_PRESS ? 1 : 0});
        return;
    default:
        return;
    }
}

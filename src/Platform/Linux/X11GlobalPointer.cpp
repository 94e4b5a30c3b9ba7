#include "Platform/Linux/X11GlobalPointer.h"
#include "Platform/Linux/XInputSelection.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

namespace {
xcb_connection_t *qtConnection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

constexpr std::uint32_t pointerEvents = XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS
    | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE | XCB_INPUT_XI_EVENT_MASK_RAW_MOTION;
}

X11GlobalPointer::~X11GlobalPointer()
{
    stop();
}

QPoint X11GlobalPointer::position() const
{
    return QCursor::pos();
}

bool X11GlobalPointer::select(std::uint32_t bits)
{
    xcb_connection_t *connection = qtConnection();
    if (!connection)
        return false;
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return false;
    return selectXInputEvents(connection, screen->root, bits) == 0;
}

bool X11GlobalPointer::start(Handler handler)
{
    if (m_started)
        return true;
    xcb_connection_t *connection = qtConnection();
    if (!connection)
        return false;
    // Qt has already agreed on the input extension's version for this connection.
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(connection, &xcb_input_id);
    if (!extension || !extension->present || !select(pointerEvents))
        return false;
    m_opcode = extension->major_opcode;
    m_handler = std::move(handler);
    m_leftDown = false;
    m_started = true;
    QCoreApplication::instance()->installNativeEventFilter(this);
    return true;
}

void X11GlobalPointer::stop()
{
    if (!m_started)
        return;
    m_started = false;
    m_handler = nullptr;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    select(0);
}

bool X11GlobalPointer::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (!m_started || eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_GE_GENERIC)
        return false;
    const auto *generic = reinterpret_cast<const xcb_ge_generic_event_t *>(event);
    if (generic->extension != m_opcode)
        return false;
    const auto *raw = reinterpret_cast<const xcb_input_raw_button_press_event_t *>(event);
    switch (generic->event_type) {
    case XCB_INPUT_RAW_MOTION:
        // A burst of raw motion becomes one position read per pass of the event loop.
        if (!m_motionPending) {
            m_motionPending = true;
            QTimer::singleShot(0, [this] { deliverMotion(); });
        }
        break;
    case XCB_INPUT_RAW_BUTTON_PRESS:
    case XCB_INPUT_RAW_BUTTON_RELEASE:
        if (raw->detail == 1) {
            m_leftDown = generic->event_type == XCB_INPUT_RAW_BUTTON_PRESS;
            if (m_handler)
                m_handler(m_leftDown ? Event::leftDown : Event::leftUp);
        }
        break;
    default:
        break;
    }
    // Qt keeps seeing everything it would have seen.
    return false;
}

void X11GlobalPointer::deliverMotion()
{
    m_motionPending = false;
    if (m_handler)
        m_handler(Event::moved);
}

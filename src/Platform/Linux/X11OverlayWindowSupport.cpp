#include "Platform/Linux/X11OverlayWindowSupport.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QWindow>
#include <QtMath>

#include <xcb/shape.h>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {
xcb_connection_t *x11Connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The screen number is the part after the dot of the display name (":0.1"); 0 without one.
int displayScreenNumber()
{
    const char *display = std::getenv("DISPLAY");
    if (!display)
        return 0;
    const std::string name(display);
    const auto colon = name.rfind(':');
    const auto dot = name.find('.', colon == std::string::npos ? 0 : colon);
    return dot == std::string::npos ? 0 : std::atoi(name.c_str() + dot + 1);
}

// A window manager copies a client's input shape onto its frame when told the shape changed,
// not when it takes the window in: a shape set just after mapping, before the manager got to
// the window, would leave the frame catching every click. So the window's input region is
// stated again whenever the window is put into a new parent. Lives as long as its window.
class InputShape final : public QObject, private QAbstractNativeEventFilter {
public:
    explicit InputShape(QWindow &window) : QObject(&window), m_window(window)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~InputShape() override
    {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    static InputShape &of(QWindow &window)
    {
        for (QObject *child : window.children()) {
            if (auto *shape = dynamic_cast<InputShape *>(child))
                return *shape;
        }
        return *new InputShape(window);
    }

    void set(xcb_connection_t *connection, std::vector<xcb_rectangle_t> rectangles)
    {
        m_rectangles = std::move(rectangles);
        apply(connection);
    }

private:
    void apply(xcb_connection_t *connection) const
    {
        xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED,
                             xcb_window_t(m_window.winId()), 0, 0, uint32_t(m_rectangles.size()),
                             m_rectangles.data());
        xcb_flush(connection);
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t" || !m_window.handle())
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_REPARENT_NOTIFY)
            return false;
        const auto *reparent = reinterpret_cast<const xcb_reparent_notify_event_t *>(event);
        xcb_connection_t *connection = x11Connection();
        if (connection && reparent->window == xcb_window_t(m_window.winId()))
            apply(connection);
        return false;
    }

    QWindow &m_window;
    std::vector<xcb_rectangle_t> m_rectangles;
};
}

bool X11OverlayWindowSupport::blendsTranslucentWindows() const
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return true;
    const std::string selection = "_NET_WM_CM_S" + std::to_string(displayScreenNumber());
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

void X11OverlayWindowSupport::setInputRegion(QWindow &window, const QRegion &region) const
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    const qreal ratio = window.devicePixelRatio();
    std::vector<xcb_rectangle_t> rectangles;
    for (const QRect &rect : region) {
        const QRect device(QPoint(qFloor(rect.x() * ratio), qFloor(rect.y() * ratio)),
                           QPoint(qCeil((rect.right() + 1) * ratio) - 1, qCeil((rect.bottom() + 1) * ratio) - 1));
        rectangles.push_back({int16_t(device.x()), int16_t(device.y()), uint16_t(device.width()),
                              uint16_t(device.height())});
    }
    InputShape::of(window).set(connection, std::move(rectangles));
}

void X11OverlayWindowSupport::keepOnEveryWorkspace(QWindow &window) const
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    xcb_ewmh_connection_t ewmh;
    if (!xcb_ewmh_init_atoms_replies(&ewmh, xcb_ewmh_init_atoms(connection, &ewmh), nullptr))
        return;
    const auto id = xcb_window_t(window.winId());
    const int screen = displayScreenNumber();
    // The workspace number 0xFFFFFFFF stands for all of them. A window not yet shown carries
    // the property to the window manager; a shown one needs the messages.
    constexpr uint32_t allDesktops = 0xFFFFFFFF;
    xcb_ewmh_set_wm_desktop(&ewmh, id, allDesktops);
    xcb_ewmh_request_change_wm_desktop(&ewmh, screen, id, allDesktops, XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
    xcb_ewmh_request_change_wm_state(&ewmh, screen, id, XCB_EWMH_WM_STATE_ADD, ewmh._NET_WM_STATE_SKIP_TASKBAR,
                                     ewmh._NET_WM_STATE_SKIP_PAGER, XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
    xcb_ewmh_request_change_wm_state(&ewmh, screen, id, XCB_EWMH_WM_STATE_ADD, ewmh._NET_WM_STATE_STICKY,
                                     ewmh._NET_WM_STATE_ABOVE, XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
    xcb_flush(connection);
    xcb_ewmh_connection_wipe(&ewmh);
}

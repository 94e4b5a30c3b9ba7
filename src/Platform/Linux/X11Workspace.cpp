#include "Platform/Linux/X11Workspace.h"

#include <QSocketNotifier>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct FreeDeleter {
    void operator()(void *pointer) const { std::free(pointer); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

bool holds(const xcb_ewmh_get_atoms_reply_t &atoms, xcb_atom_t atom)
{
    return std::find(atoms.atoms, atoms.atoms + atoms.atoms_len, atom) != atoms.atoms + atoms.atoms_len;
}

}

X11Workspace::X11Workspace(QString ownIdentifier, DesktopEntryIndex entries, QObject *parent)
    : QObject(parent)
    , m_ownIdentifier(std::move(ownIdentifier))
    , m_entries(std::move(entries))
{
    m_entries.prefetch();
}

X11Workspace::~X11Workspace()
{
    stopWatching();
    disconnect();
}

bool X11Workspace::connected()
{
    if (m_connection)
        return true;
    // Without an X display (pure Wayland) there is nothing to ask.
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    xcb_connection_t *connection = xcb_connect(nullptr, &m_screen);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    xcb_intern_atom_cookie_t *cookies = xcb_ewmh_init_atoms(connection, &m_ewmh);
    if (!xcb_ewmh_init_atoms_replies(&m_ewmh, cookies, nullptr) || m_screen >= m_ewmh.nb_screens) {
        xcb_disconnect(connection);
        return false;
    }
    m_connection = connection;
    m_gtkApplicationID = internAtom(connection, "_GTK_APPLICATION_ID");
    m_kdeDesktopFile = internAtom(connection, "_KDE_NET_WM_DESKTOP_FILE");
    return true;
}

void X11Workspace::disconnect()
{
    if (!m_connection)
        return;
    // The notifier goes before the socket it watches is closed.
    m_notifier.reset();
    xcb_ewmh_connection_wipe(&m_ewmh);
    xcb_disconnect(m_connection);
    m_connection = nullptr;
}

xcb_window_t X11Workspace::root() const
{
    return m_ewmh.screens[m_screen]->root;
}

QString X11Workspace::utf8Property(xcb_get_property_cookie_t cookie)
{
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_connection, cookie, nullptr));
    if (!reply || reply->format != 8)
        return {};
    return QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(reply.get())),
                             xcb_get_property_value_length(reply.get()))
        .trimmed();
}

WorkspaceApplication X11Workspace::applicationOf(xcb_window_t window)
{
    // Every question goes out before the first answer is awaited: one round trip per window.
    const auto wmClass = xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256);
    const auto gtk = xcb_get_property(m_connection, 0, window, m_gtkApplicationID, m_ewmh.UTF8_STRING, 0, 256);
    const auto kde = xcb_get_property(m_connection, 0, window, m_kdeDesktopFile, m_ewmh.UTF8_STRING, 0, 256);
    const auto pid = xcb_ewmh_get_wm_pid(&m_ewmh, window);

    WindowIdentity identity;
    if (Reply<xcb_get_property_reply_t> reply{xcb_get_property_reply(m_connection, wmClass, nullptr)}) {
        // WM_CLASS holds the instance and the class, each ending in a zero byte.
        const auto *bytes = static_cast<const char *>(xcb_get_property_value(reply.get()));
        const int length = xcb_get_property_value_length(reply.get());
        const int instanceLength = int(strnlen(bytes, std::size_t(length)));
        identity.instanceName = QString::fromLocal8Bit(bytes, instanceLength);
        if (instanceLength + 1 < length)
            identity.className = QString::fromLocal8Bit(bytes + instanceLength + 1,
                                                        int(strnlen(bytes + instanceLength + 1,
                                                                    std::size_t(length - instanceLength - 1))));
    }
    identity.gtkApplicationID = utf8Property(gtk);
    identity.kdeDesktopFile = utf8Property(kde);
    std::uint32_t windowPid = 0;
    const bool ours = xcb_ewmh_get_wm_pid_reply(&m_ewmh, pid, &windowPid, nullptr) && windowPid == std::uint32_t(::getpid());

    WorkspaceApplication application = m_entries.application(identity);
    if (ours)
        application.identifier = m_ownIdentifier;
    return application;
}

X11Workspace::Front X11Workspace::front()
{
    Front front;
    if (!xcb_ewmh_get_active_window_reply(&m_ewmh, xcb_ewmh_get_active_window(&m_ewmh, m_screen), &front.window,
                                          nullptr)
        || front.window == XCB_WINDOW_NONE)
        return {};
    front.application = applicationOf(front.window);
    return front;
}

std::optional<WorkspaceApplication> X11Workspace::frontmostApplication()
{
    if (!connected())
        return std::nullopt;
    const Front found = front();
    readEventsLater();
    if (found.window == XCB_WINDOW_NONE)
        return std::nullopt;
    return found.application;
}

QList<WorkspaceApplication> X11Workspace::runningApplications()
{
    if (!connected())
        return {};
    xcb_ewmh_get_windows_reply_t clients;
    if (!xcb_ewmh_get_client_list_reply(&m_ewmh, xcb_ewmh_get_client_list(&m_ewmh, m_screen), &clients, nullptr))
        return {};
    const std::uint32_t count = clients.windows_len;
    std::vector<xcb_get_property_cookie_t> types(count), states(count), pids(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        types[i] = xcb_ewmh_get_wm_window_type(&m_ewmh, clients.windows[i]);
        states[i] = xcb_ewmh_get_wm_state(&m_ewmh, clients.windows[i]);
        pids[i] = xcb_ewmh_get_wm_pid(&m_ewmh, clients.windows[i]);
    }
    QList<WorkspaceApplication> running;
    for (std::uint32_t i = 0; i < count; ++i) {
        // A window without a type is a normal one.
        bool normal = true;
        xcb_ewmh_get_atoms_reply_t atoms;
        if (xcb_ewmh_get_wm_window_type_reply(&m_ewmh, types[i], &atoms, nullptr)) {
            normal = holds(atoms, m_ewmh._NET_WM_WINDOW_TYPE_NORMAL);
            xcb_ewmh_get_atoms_reply_wipe(&atoms);
        }
        if (xcb_ewmh_get_wm_state_reply(&m_ewmh, states[i], &atoms, nullptr)) {
            normal = normal && !holds(atoms, m_ewmh._NET_WM_STATE_SKIP_TASKBAR);
            xcb_ewmh_get_atoms_reply_wipe(&atoms);
        }
        std::uint32_t pid = 0;
        const bool ours = xcb_ewmh_get_wm_pid_reply(&m_ewmh, pids[i], &pid, nullptr) && pid == std::uint32_t(::getpid());
        if (!normal || ours)
            continue;
        running.append(applicationOf(clients.windows[i]));
    }
    xcb_ewmh_get_windows_reply_wipe(&clients);
    readEventsLater();
    return running;
}

std::optional<QString> X11Workspace::installedApplicationName(const QString &identifier)
{
    if (const std::optional<DesktopEntryIndex::Entry> entry = m_entries.entry(identifier))
        return entry->name.isEmpty() ? identifier : entry->name;
    return std::nullopt;
}

QString X11Workspace::switchKey(const Front &front)
{
    if (!front.application.identifier.isEmpty())
        return front.application.identifier;
    return QStringLiteral("window:") + QString::number(front.window);
}

bool X11Workspace::watchActivations(ActivationHandler handler)
{
    if (!connected())
        return false;
    // Without a window manager that publishes the active window there is nothing to watch.
    xcb_ewmh_get_atoms_reply_t supported;
    if (!xcb_ewmh_get_supported_reply(&m_ewmh, xcb_ewmh_get_supported(&m_ewmh, m_screen), &supported, nullptr))
        return false;
    const bool publishesActiveWindow = holds(supported, m_ewmh._NET_ACTIVE_WINDOW);
    xcb_ewmh_get_atoms_reply_wipe(&supported);
    if (!publishesActiveWindow)
        return false;
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection, root(), XCB_CW_EVENT_MASK, &mask);
    // What is in front now is where the session starts, not a switch.
    const Front current = front();
    m_lastSwitchKey = current.window == XCB_WINDOW_NONE ? QString() : switchKey(current);
    m_handler = std::move(handler);
    if (!m_notifier) {
        m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, &X11Workspace::readEvents);
    }
    m_notifier->setEnabled(true);
    readEventsLater();
    return true;
}

void X11Workspace::stopWatching()
{
    m_handler = nullptr;
    if (!m_connection)
        return;
    const std::uint32_t mask = XCB_EVENT_MASK_NO_EVENT;
    xcb_change_window_attributes(m_connection, root(), XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
    if (m_notifier)
        m_notifier->setEnabled(false);
}

void X11Workspace::readEventsLater()
{
    // Answers awaited outside readEvents() may have pulled events off the socket into the
    // connection's queue, where the socket notifier cannot see them; errors about windows that
    // closed meanwhile land there too, and must not pile up.
    QMetaObject::invokeMethod(this, &X11Workspace::readEvents, Qt::QueuedConnection);
}

void X11Workspace::readEvents()
{
    if (!m_connection)
        return;
    // Asking for the new front application may pull further events into the queue, so the
    // queue is drained again until it holds no change of the active window.
    for (;;) {
        bool activeChanged = false;
        while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(m_connection)}) {
            if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
                continue;
            const auto *property = reinterpret_cast<const xcb_property_notify_event_t *>(event.get());
            if (property->window == root() && property->atom == m_ewmh._NET_ACTIVE_WINDOW)
                activeChanged = true;
        }
        if (xcb_connection_has_error(m_connection)) {
            // The X server went away; nothing more will be reported.
            if (m_notifier)
                m_notifier->setEnabled(false);
            return;
        }
        if (!activeChanged || !m_handler)
            return;
        activeWindowChanged();
    }
}

void X11Workspace::activeWindowChanged()
{
    const Front current = front();
    if (current.window == XCB_WINDOW_NONE)
        return;
    const QString key = switchKey(current);
    if (key == m_lastSwitchKey)
        return;
    m_lastSwitchKey = key;
    const ActivationHandler handler = m_handler;
    handler(current.application);
}

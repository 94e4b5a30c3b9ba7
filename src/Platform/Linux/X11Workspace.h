#pragma once

#include "Platform/Linux/DesktopEntryIndex.h"
#include "Platform/Workspace.h"

#include <QObject>

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <memory>

class QSocketNotifier;

// The desktop's applications as an EWMH window manager publishes them on the root window:
// the active window and the client list. While activations are watched, the server sends a
// PropertyNotify for each change of the root window's properties over a connection of our
// own that the event loop watches, so nothing is polled.
class X11Workspace final : public QObject, public Workspace {
    Q_OBJECT

public:
    explicit X11Workspace(QString ownIdentifier, DesktopEntryIndex entries = DesktopEntryIndex(),
                          QObject *parent = nullptr);
    ~X11Workspace() override;

    QString ownIdentifier() const override { return m_ownIdentifier; }
    std::optional<WorkspaceApplication> frontmostApplication() override;
    QList<WorkspaceApplication> runningApplications() override;
    std::optional<QString> installedApplicationName(const QString &identifier) override;

    bool watchActivations(ActivationHandler handler) override;
    void stopWatching() override;

private:
    struct Front {
        xcb_window_t window = XCB_WINDOW_NONE;
        WorkspaceApplication application;
    };

    bool connected();
    void disconnect();
    xcb_window_t root() const;
    Front front();
    WorkspaceApplication applicationOf(xcb_window_t window);
    QString utf8Property(xcb_get_property_cookie_t cookie);
    void readEvents();
    void readEventsLater();
    void activeWindowChanged();
    static QString switchKey(const Front &front);

    QString m_ownIdentifier;
    DesktopEntryIndex m_entries;
    xcb_connection_t *m_connection = nullptr;
    xcb_ewmh_connection_t m_ewmh{};
    int m_screen = 0;
    xcb_atom_t m_gtkApplicationID = XCB_ATOM_NONE;
    xcb_atom_t m_kdeDesktopFile = XCB_ATOM_NONE;
    std::unique_ptr<QSocketNotifier> m_notifier;
    ActivationHandler m_handler;
    // The application last reported, so window switches inside one application are no switch.
    QString m_lastSwitchKey;
};

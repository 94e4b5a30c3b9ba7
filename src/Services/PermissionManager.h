#pragma once

#include "Platform/PermissionProbe.h"

#include <QObject>

// Whether global input and the accessibility bus are available to this process, and the
// ways of asking the user to allow them.
class PermissionManager final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool hasInputMonitoring READ hasInputMonitoring NOTIFY hasInputMonitoringChanged)
    Q_PROPERTY(bool hasAccessibility READ hasAccessibility NOTIFY hasAccessibilityChanged)

public:
    explicit PermissionManager(PermissionProbe &probe, QObject *parent = nullptr);

    bool hasInputMonitoring() const { return m_hasInputMonitoring; }
    bool hasAccessibility() const { return m_hasAccessibility; }

    // Re-reads both states and publishes them; the accessibility state arrives when the bus
    // has answered.
    void refresh();
    void refreshInputMonitoring();
    void refreshAccessibility();
    // Re-reads the state and, while access is still missing, explains how to grant it.
    void request();
    // Explains how to grant input access, whatever the state (this desktop has no settings
    // pane for it).
    void showInputMonitoringHelp();
    void requestAccessibility();

signals:
    void changed();
    void hasInputMonitoringChanged(bool value);
    void hasAccessibilityChanged(bool value);

private:
    void setAccessibility(bool trusted);

    PermissionProbe &m_probe;
    bool m_hasInputMonitoring = false;
    bool m_hasAccessibility = false;
};

#pragma once

#include "Platform/PermissionProbe.h"

#include <QDBusConnection>
#include <QPointer>

class QMessageBox;

// Input access: a readable keyboard device, or XInput2 raw events under X11.
// Accessibility: the AT-SPI2 bus answers on the session bus.
class LinuxPermissionProbe final : public PermissionProbe {
public:
    explicit LinuxPermissionProbe(QDBusConnection sessionBus = QDBusConnection::sessionBus());
    ~LinuxPermissionProbe() override;

    bool inputMonitoringGranted() override;
    void checkAccessibility(std::function<void(bool)> answer) override;
    void showInputMonitoringHelp() override;
    void showAccessibilityHelp() override;

private:
    void show(QPointer<QMessageBox> &box, const QString &title, const QString &text, const QString &details);

    QDBusConnection m_sessionBus;
    QPointer<QMessageBox> m_inputHelp;
    QPointer<QMessageBox> m_accessibilityHelp;
};

#pragma once

#include "Platform/PermissionProbe.h"

#include <QPointer>

class QMessageBox;

// Input access: a readable keyboard device, or XInput2 raw events under X11.
// Accessibility: the AT-SPI2 bus answers on the session bus.
class LinuxPermissionProbe final : public PermissionProbe {
public:
    ~LinuxPermissionProbe() override;

    bool inputMonitoringGranted() override;
    bool accessibilityTrusted() override;
    void showInputMonitoringHelp() override;
    void showAccessibilityHelp() override;

private:
    void show(QPointer<QMessageBox> &box, const QString &title, const QString &text, const QString &details);

    QPointer<QMessageBox> m_inputHelp;
    QPointer<QMessageBox> m_accessibilityHelp;
};

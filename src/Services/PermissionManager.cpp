#include "Services/PermissionManager.h"

#include <QPointer>

PermissionManager::PermissionManager(PermissionProbe &probe, QObject *parent)
    : QObject(parent)
    , m_probe(probe)
{
}

void PermissionManager::refresh()
{
    refreshInputMonitoring();
    refreshAccessibility();
}

void PermissionManager::refreshInputMonitoring()
{
    const bool granted = m_probe.inputMonitoringGranted();
    if (granted == m_hasInputMonitoring)
        return;
    m_hasInputMonitoring = granted;
    emit hasInputMonitoringChanged(granted);
    emit changed();
}

void PermissionManager::refreshAccessibility()
{
    m_probe.checkAccessibility([self = QPointer(this)](bool trusted) {
        if (self)
            self->setAccessibility(trusted);
    });
}

void PermissionManager::setAccessibility(bool trusted)
{
    if (trusted == m_hasAccessibility)
        return;
    m_hasAccessibility = trusted;
    emit hasAccessibilityChanged(trusted);
    emit changed();
}

void PermissionManager::request()
{
    refreshInputMonitoring();
    if (!m_hasInputMonitoring)
        m_probe.showInputMonitoringHelp();
}

void PermissionManager::requestAccessibility()
{
    m_probe.checkAccessibility([self = QPointer(this)](bool trusted) {
        if (!self)
            return;
        self->setAccessibility(trusted);
        if (!trusted)
            self->m_probe.showAccessibilityHelp();
    });
}

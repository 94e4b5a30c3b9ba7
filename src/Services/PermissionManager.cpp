#include "Services/PermissionManager.h"

#include "Foundation/PublishedProperty.h"

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
    publish(this, m_hasInputMonitoring, m_probe.inputMonitoringGranted(), &PermissionManager::hasInputMonitoringChanged);
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
    publish(this, m_hasAccessibility, trusted, &PermissionManager::hasAccessibilityChanged);
}

void PermissionManager::request()
{
    refreshInputMonitoring();
    if (!m_hasInputMonitoring)
        m_probe.showInputMonitoringHelp();
}

void PermissionManager::showInputMonitoringHelp()
{
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

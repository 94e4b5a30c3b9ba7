#include "Services/PermissionManager.h"

#include "Foundation/PublishedProperty.h"

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
    publish(this, m_hasAccessibility, m_probe.accessibilityTrusted(), &PermissionManager::hasAccessibilityChanged);
}

void PermissionManager::request()
{
    refreshInputMonitoring();
    if (!m_hasInputMonitoring)
        m_probe.showInputMonitoringHelp();
}

void PermissionManager::requestAccessibility()
{
    refreshAccessibility();
    if (!m_hasAccessibility)
        m_probe.showAccessibilityHelp();
}

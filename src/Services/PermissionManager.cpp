#include "Services/PermissionManager.h"

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
    const bool trusted = m_probe.accessibilityTrusted();
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
    refreshAccessibility();
    if (!m_hasAccessibility)
        m_probe.showAccessibilityHelp();
}

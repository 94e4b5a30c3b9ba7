#pragma once

#include "Platform/ColorSchemeSource.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QVariant>

class QDBusPendingCallWatcher;

// The freedesktop settings portal's `org.freedesktop.appearance` `color-scheme`: read once
// without blocking (ReadOne, or Read on older portals) and followed through SettingChanged.
// Without a portal, or when it does not know the setting, no preference is reported.
class PortalColorSchemeSource final : public QObject, public ColorSchemeSource {
    Q_OBJECT

public:
    explicit PortalColorSchemeSource(const QDBusConnection &bus);

    void start(Handler handler) override;

    // The setting's value as the portal sends it (a number, possibly wrapped in variants).
    static ColorSchemePreference preference(const QVariant &value);

private slots:
    void settingChanged(const QDBusMessage &message);

private:
    void read(const QString &method);
    void readFinished(QDBusPendingCallWatcher *call, const QString &method);
    void report(ColorSchemePreference preference);

    QDBusConnection m_bus;
    Handler m_handler;
    // A change heard before the first reading arrives is newer than that reading.
    bool m_heardChange = false;
};

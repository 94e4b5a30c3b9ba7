#pragma once

#include "Platform/PowerSource.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>

#include <memory>

class QDBusMessage;
class QDBusPendingCallWatcher;

// The internal battery as UPower (org.freedesktop.UPower) reports it: its charge and state
// from the battery device, the charger from the daemon's OnBattery. Every call is
// asynchronous so the GUI thread never waits on the bus. When UPower does not answer, the
// fallback source takes over.
class UPowerPowerSource final : public QObject, public PowerSource {
    Q_OBJECT

public:
    UPowerPowerSource(QDBusConnection bus, std::unique_ptr<PowerSource> fallback, QObject *parent = nullptr);
    ~UPowerPowerSource() override;

    void start(Handler handler) override;
    void stop() override;

private slots:
    void daemonPropertiesChanged(const QDBusMessage &message);
    void devicePropertiesChanged(const QDBusMessage &message);
    void devicesChanged();

private:
    void readDaemon();
    void enumerate();
    void surveyDevices(const QList<QDBusObjectPath> &paths, quint64 generation);
    void watchBattery(const QString &path, const QVariantMap &properties);
    void unwatchBattery();
    void report();
    void switchToFallback();
    bool isCurrent(quint64 generation) const { return m_running && generation == m_generation; }

    QDBusConnection m_bus;
    std::unique_ptr<PowerSource> m_fallback;
    Handler m_handler;
    bool m_running = false;
    bool m_usingFallback = false;
    quint64 m_generation = 0;

    bool m_daemonKnown = false;
    bool m_devicesKnown = false;
    bool m_onBattery = false;
    QString m_batteryPath;
    double m_percentage = 0;
    uint m_state = 0;
    bool m_reported = false;
    std::optional<PowerSnapshot> m_last;
};

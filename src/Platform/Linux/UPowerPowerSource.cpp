#include "Platform/Linux/UPowerPowerSource.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const QString service = QStringLiteral("org.freedesktop.UPower");
const QString daemonPath = QStringLiteral("/org/freedesktop/UPower");
const QString daemonInterface = QStringLiteral("org.freedesktop.UPower");
const QString deviceInterface = QStringLiteral("org.freedesktop.UPower.Device");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

// UPower's device types and states.
constexpr uint typeBattery = 2;
constexpr uint stateCharging = 1;

QDBusMessage getAll(const QString &path, const QString &interface)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, propertiesInterface, QStringLiteral("GetAll"));
    call << interface;
    return call;
}

}

UPowerPowerSource::UPowerPowerSource(QDBusConnection bus, std::unique_ptr<PowerSource> fallback, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_fallback(std::move(fallback))
{
}

UPowerPowerSource::~UPowerPowerSource()
{
    stop();
}

void UPowerPowerSource::start(Handler handler)
{
    stop();
    m_handler = std::move(handler);
    m_running = true;
    if (!m_bus.isConnected()) {
        switchToFallback();
        return;
    }
    m_bus.connect(service, daemonPath, propertiesInterface, QStringLiteral("PropertiesChanged"), this,
                  SLOT(daemonPropertiesChanged(QDBusMessage)));
    m_bus.connect(service, daemonPath, daemonInterface, QStringLiteral("DeviceAdded"), this, SLOT(devicesChanged()));
    m_bus.connect(service, daemonPath, daemonInterface, QStringLiteral("DeviceRemoved"), this, SLOT(devicesChanged()));
    readDaemon();
    enumerate();
}

void UPowerPowerSource::stop()
{
    if (m_running && !m_usingFallback) {
        m_bus.disconnect(service, daemonPath, propertiesInterface, QStringLiteral("PropertiesChanged"), this,
                         SLOT(daemonPropertiesChanged(QDBusMessage)));
        m_bus.disconnect(service, daemonPath, daemonInterface, QStringLiteral("DeviceAdded"), this,
                         SLOT(devicesChanged()));
        m_bus.disconnect(service, daemonPath, daemonInterface, QStringLiteral("DeviceRemoved"), this,
                         SLOT(devicesChanged()));
        unwatchBattery();
    }
    if (m_usingFallback && m_fallback)
        m_fallback->stop();
    ++m_generation;
    m_running = false;
    m_usingFallback = false;
    m_daemonKnown = false;
    m_devicesKnown = false;
    m_reported = false;
    m_handler = nullptr;
}

void UPowerPowerSource::switchToFallback()
{
    if (m_usingFallback)
        return;
    const Handler handler = m_handler;
    stop();
    m_running = true;
    m_usingFallback = true;
    m_handler = handler;
    if (m_fallback)
        m_fallback->start(handler);
    else if (handler)
        handler(std::nullopt);
}

void UPowerPowerSource::readDaemon()
{
    const quint64 generation = m_generation;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(getAll(daemonPath, daemonInterface)), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (!isCurrent(generation) || m_usingFallback)
            return;
        const QDBusPendingReply<QVariantMap> reply = *watcher;
        if (reply.isError()) {
            switchToFallback();
            return;
        }
        m_onBattery = reply.value().value(QStringLiteral("OnBattery")).toBool();
        m_daemonKnown = true;
        report();
    });
}

void UPowerPowerSource::enumerate()
{
    const quint64 generation = m_generation;
    const QDBusMessage call =
        QDBusMessage::createMethodCall(service, daemonPath, daemonInterface, QStringLiteral("EnumerateDevices"));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (!isCurrent(generation) || m_usingFallback)
            return;
        const QDBusPendingReply<QList<QDBusObjectPath>> reply = *watcher;
        if (reply.isError()) {
            switchToFallback();
            return;
        }
        const QList<QDBusObjectPath> paths = reply.value();
        if (paths.isEmpty()) {
            unwatchBattery();
            m_devicesKnown = true;
            report();
            return;
        }
        surveyDevices(paths, generation);
    });
}

// Asks every device for its properties; the first internal battery, in the daemon's order,
// is the one reported.
void UPowerPowerSource::surveyDevices(const QList<QDBusObjectPath> &paths, quint64 generation)
{
    struct Survey {
        QList<QString> paths;
        QList<std::optional<QVariantMap>> answers;
        int pending = 0;
    };
    auto survey = std::make_shared<Survey>();
    for (const QDBusObjectPath &path : paths) {
        survey->paths.append(path.path());
        survey->answers.append(std::nullopt);
    }
    survey->pending = int(paths.size());
    for (int i = 0; i < survey->paths.size(); ++i) {
        auto *deviceWatcher =
            new QDBusPendingCallWatcher(m_bus.asyncCall(getAll(survey->paths[i], deviceInterface)), this);
        connect(deviceWatcher, &QDBusPendingCallWatcher::finished, this,
                [this, deviceWatcher, generation, survey, i] {
                    deviceWatcher->deleteLater();
                    if (!isCurrent(generation) || m_usingFallback)
                        return;
                    const QDBusPendingReply<QVariantMap> answer = *deviceWatcher;
                    if (!answer.isError())
                        survey->answers[i] = answer.value();
                    if (--survey->pending > 0)
                        return;
                    unwatchBattery();
                    for (int j = 0; j < survey->paths.size(); ++j) {
                        const auto &properties = survey->answers[j];
                        if (properties && properties->value(QStringLiteral("Type")).toUInt() == typeBattery
                            && properties->value(QStringLiteral("PowerSupply")).toBool()) {
                            watchBattery(survey->paths[j], *properties);
                            break;
                        }
                    }
                    m_devicesKnown = true;
                    report();
                });
    }
}

void UPowerPowerSource::watchBattery(const QString &path, const QVariantMap &properties)
{
    m_batteryPath = path;
    m_percentage = properties.value(QStringLiteral("Percentage")).toDouble();
    m_state = properties.value(QStringLiteral("State")).toUInt();
    m_bus.connect(service, path, propertiesInterface, QStringLiteral("PropertiesChanged"), this,
                  SLOT(devicePropertiesChanged(QDBusMessage)));
}

void UPowerPowerSource::unwatchBattery()
{
    if (m_batteryPath.isEmpty())
        return;
    m_bus.disconnect(service, m_batteryPath, propertiesInterface, QStringLiteral("PropertiesChanged"), this,
                     SLOT(devicePropertiesChanged(QDBusMessage)));
    m_batteryPath.clear();
}

void UPowerPowerSource::daemonPropertiesChanged(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || arguments[0].toString() != daemonInterface)
        return;
    const QVariantMap changed = qdbus_cast<QVariantMap>(arguments[1]);
    if (changed.contains(QStringLiteral("OnBattery"))) {
        m_onBattery = changed.value(QStringLiteral("OnBattery")).toBool();
        report();
    }
}

void UPowerPowerSource::devicePropertiesChanged(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (message.path() != m_batteryPath || arguments.size() < 2 || arguments[0].toString() != deviceInterface)
        return;
    const QVariantMap changed = qdbus_cast<QVariantMap>(arguments[1]);
    if (changed.contains(QStringLiteral("Percentage")))
        m_percentage = changed.value(QStringLiteral("Percentage")).toDouble();
    if (changed.contains(QStringLiteral("State")))
        m_state = changed.value(QStringLiteral("State")).toUInt();
    report();
}

void UPowerPowerSource::devicesChanged()
{
    if (m_running && !m_usingFallback)
        enumerate();
}

void UPowerPowerSource::report()
{
    if (!m_daemonKnown || !m_devicesKnown)
        return;
    std::optional<PowerSnapshot> snapshot;
    if (!m_batteryPath.isEmpty()) {
        const double percentage = std::isfinite(m_percentage) ? m_percentage : 0.0;
        snapshot = PowerSnapshot{std::clamp(int(std::lround(percentage)), 0, 100), !m_onBattery,
                                 m_state == stateCharging};
    }
    if (m_reported && snapshot == m_last)
        return;
    m_reported = true;
    m_last = snapshot;
    if (m_handler)
        m_handler(snapshot);
}

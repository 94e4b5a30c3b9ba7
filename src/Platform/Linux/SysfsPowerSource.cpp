#include "Platform/Linux/SysfsPowerSource.h"

#include "Foundation/SafeFiles.h"
#include "Foundation/Scheduler.h"

#include <QDir>

#include <algorithm>

namespace {

QString attribute(const QDir &device, const QString &name)
{
    return QString::fromUtf8(
               SafeFiles::readForeign(device.filePath(name), ForeignFiles::kernelAttribute).value_or(QByteArray()))
        .trimmed();
}

}

SysfsPowerSource::SysfsPowerSource(QString root, Scheduler &scheduler, std::chrono::milliseconds interval,
                                   QObject *parent)
    : QObject(parent)
    , m_root(std::move(root))
    , m_scheduler(scheduler)
    , m_interval(interval)
{
}

void SysfsPowerSource::start(Handler handler)
{
    stop();
    m_handler = std::move(handler);
    poll(m_generation);
}

void SysfsPowerSource::stop()
{
    ++m_generation;
    m_handler = nullptr;
    m_reported = false;
}

void SysfsPowerSource::poll(quint64 generation)
{
    if (generation != m_generation)
        return;
    const auto snapshot = read(m_root);
    if (!m_reported || snapshot != m_last) {
        m_reported = true;
        m_last = snapshot;
        if (m_handler)
            m_handler(snapshot);
    }
    m_scheduler.schedule(m_interval, this, [this, generation] { poll(generation); });
}

std::optional<PowerSnapshot> SysfsPowerSource::read(const QString &root)
{
    const QDir folder(root);
    std::optional<PowerSnapshot> battery;
    std::optional<bool> mainsOnline;
    for (const QString &name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir device(folder.filePath(name));
        const QString type = attribute(device, QStringLiteral("type"));
        if (type == QLatin1String("Battery")) {
            if (battery || attribute(device, QStringLiteral("scope")) == QLatin1String("Device"))
                continue;
            if (attribute(device, QStringLiteral("present")) == QLatin1String("0"))
                continue;
            bool ok = false;
            const int capacity = attribute(device, QStringLiteral("capacity")).toInt(&ok);
            if (!ok)
                continue;
            const QString status = attribute(device, QStringLiteral("status"));
            PowerSnapshot snapshot;
            snapshot.percent = std::clamp(capacity, 0, 100);
            snapshot.isCharging = status == QLatin1String("Charging");
            // Without a mains supply to ask, a battery that is not discharging is on power.
            snapshot.isOnACPower = status != QLatin1String("Discharging") && status != QLatin1String("Unknown");
            battery = snapshot;
        } else if (type == QLatin1String("Mains") || type.startsWith(QLatin1String("USB"))) {
            if (attribute(device, QStringLiteral("scope")) == QLatin1String("Device"))
                continue;
            const bool online = attribute(device, QStringLiteral("online")) == QLatin1String("1");
            mainsOnline = mainsOnline.value_or(false) || online;
        }
    }
    if (battery && mainsOnline)
        battery->isOnACPower = *mainsOnline;
    return battery;
}

#include "Platform/Linux/LogindSleepMonitor.h"

namespace {
const QString service = QStringLiteral("org.freedesktop.login1");
const QString path = QStringLiteral("/org/freedesktop/login1");
const QString interface = QStringLiteral("org.freedesktop.login1.Manager");
const QString signal = QStringLiteral("PrepareForSleep");
}

LogindSleepMonitor::LogindSleepMonitor(QDBusConnection bus, QObject *parent) : QObject(parent), m_bus(std::move(bus)) {}

LogindSleepMonitor::~LogindSleepMonitor()
{
    stop();
}

bool LogindSleepMonitor::start(Handler handler)
{
    stop();
    if (!m_bus.isConnected())
        return false;
    m_connected = m_bus.connect(service, path, interface, signal, this, SLOT(prepareForSleep(bool)));
    if (m_connected)
        m_handler = std::move(handler);
    return m_connected;
}

void LogindSleepMonitor::stop()
{
    if (m_connected)
        m_bus.disconnect(service, path, interface, signal, this, SLOT(prepareForSleep(bool)));
    m_connected = false;
    m_handler = nullptr;
}

void LogindSleepMonitor::prepareForSleep(bool sleeping)
{
    if (m_handler)
        m_handler(sleeping ? SleepTransition::willSleep : SleepTransition::didWake);
}

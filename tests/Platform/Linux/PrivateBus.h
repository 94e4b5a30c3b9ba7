#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>

// A session bus of the test's own: a dbus-daemon started for the test and ended with it.
class PrivateBus {
public:
    PrivateBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (m_daemon.waitForStarted() && m_daemon.waitForReadyRead(10000))
            m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        for (const QString &name : m_connections)
            QDBusConnection::disconnectFromBus(name);
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    bool isRunning() const { return !m_address.isEmpty(); }

    // A new connection to this bus; each name gives a separate peer.
    QDBusConnection connect(const QString &name)
    {
        const QString unique = name + QStringLiteral("-") + QString::number(quintptr(this));
        m_connections.append(unique);
        return QDBusConnection::connectToBus(m_address, unique);
    }

private:
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};

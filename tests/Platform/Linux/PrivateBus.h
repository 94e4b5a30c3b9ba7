#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QTemporaryFile>

// A session bus of the test's own: a dbus-daemon started for the test and ended with it.
class PrivateBus {
public:
    PrivateBus()
    {
        // No service directories: a name the test has not registered must stay absent rather
        // than start the real service.
        if (m_config.open()) {
            m_config.write(R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)");
            m_config.flush();
        }
        m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + m_config.fileName(),
                                                       QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
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
    QString address() const { return m_address; }

    // A new connection to this bus; each name gives a separate peer.
    QDBusConnection connect(const QString &name)
    {
        const QString unique = name + QStringLiteral("-") + QString::number(quintptr(this));
        m_connections.append(unique);
        return QDBusConnection::connectToBus(m_address, unique);
    }

private:
    QTemporaryFile m_config;
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};

#pragma once

#include "Platform/SecureInputSource.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>

#include <atomic>
#include <optional>

// Follows keyboard focus on the accessibility bus (AT-SPI2): secure input is active while the
// focused accessible object is a password field. Without an accessibility bus it stays off.
// Every bus call is asynchronous, so nothing here blocks the GUI thread.
class AtspiSecureInputSource final : public QObject, public SecureInputSource {
    Q_OBJECT

public:
    // `sessionBus` is where the accessibility bus's address is asked for.
    explicit AtspiSecureInputSource(QDBusConnection sessionBus = QDBusConnection::sessionBus(),
                                    QObject *parent = nullptr);
    ~AtspiSecureInputSource() override;

    // Looks for the accessibility bus and starts following focus once it is found.
    void start();

    bool isActive() const override { return m_active.load(std::memory_order_relaxed); }

private slots:
    void stateChanged(const QDBusMessage &message);

private:
    void connectTo(const QString &address);

    QDBusConnection m_sessionBus;
    QString m_connectionName;
    std::optional<QDBusConnection> m_accessibilityBus;
    // The object that has focus, as "<bus name><path>", so a late answer about an object that
    // lost focus meanwhile is dropped.
    QString m_focused;
    std::atomic<bool> m_active{false};
};

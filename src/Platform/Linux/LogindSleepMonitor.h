#pragma once

#include "Platform/SleepMonitor.h"

#include <QDBusConnection>
#include <QObject>

// logind's PrepareForSleep signal: true before the system sleeps, false after it wakes.
class LogindSleepMonitor final : public QObject, public SleepMonitor {
    Q_OBJECT

public:
    explicit LogindSleepMonitor(QDBusConnection bus, QObject *parent = nullptr);
    ~LogindSleepMonitor() override;

    bool start(Handler handler) override;
    void stop() override;

private slots:
    void prepareForSleep(bool sleeping);

private:
    QDBusConnection m_bus;
    Handler m_handler;
    bool m_connected = false;
};

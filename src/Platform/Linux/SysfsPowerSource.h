#pragma once

#include "Platform/PowerSource.h"

#include <QObject>
#include <QString>

#include <chrono>

class Scheduler;

// The kernel's power-supply class, read again at an interval since it sends no change
// notification of its own. Used where UPower does not answer.
class SysfsPowerSource final : public QObject, public PowerSource {
    Q_OBJECT

public:
    static constexpr std::chrono::seconds defaultInterval{30};

    SysfsPowerSource(QString root, Scheduler &scheduler, std::chrono::milliseconds interval = defaultInterval,
                     QObject *parent = nullptr);

    void start(Handler handler) override;
    void stop() override;

    // The internal battery under `root` (normally /sys/class/power_supply): devices of type
    // "Battery" whose scope is not "Device" (mice and headsets report their own batteries).
    static std::optional<PowerSnapshot> read(const QString &root);

private:
    void poll(quint64 generation);

    QString m_root;
    Scheduler &m_scheduler;
    std::chrono::milliseconds m_interval;
    Handler m_handler;
    quint64 m_generation = 0;
    bool m_reported = false;
    std::optional<PowerSnapshot> m_last;
};

#pragma once

#include "Effects/SystemReactionEvent.h"
#include "Effects/SystemReactionPolicy.h"
#include "Platform/PowerSnapshot.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class PowerSource;
class SleepMonitor;
enum class SleepTransition;

// Turns the battery, the charger, sleep and wake into reactions. The battery is read for
// the controller's whole life (the settings show it even while reactions are off); events
// are reported only while the controller runs and their kind is enabled.
class SystemReactionController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString lastEventText READ lastEventText WRITE setLastEventText NOTIFY lastEventTextChanged)
    Q_PROPERTY(bool hasSnapshot READ hasSnapshot NOTIFY snapshotChanged)

public:
    // Either source may be null when this session cannot report it.
    SystemReactionController(PowerSource *power, SleepMonitor *sleep, QObject *parent = nullptr);
    ~SystemReactionController() override;

    bool batteryEnabled = true;
    bool wakeEnabled = true;
    std::function<void(const SystemReactionEvent &)> onReaction;

    QString lastEventText() const { return m_lastEventText; }
    void setLastEventText(const QString &text);
    std::optional<PowerSnapshot> snapshot() const { return m_snapshot; }
    bool hasSnapshot() const { return m_snapshot.has_value(); }

    void start();
    void stop();
    bool isRunning() const { return m_running; }

    // Publishes the event's text and hands the event on, as a real one would be.
    void report(const SystemReactionEvent &event);

signals:
    void changed();
    void lastEventTextChanged(const QString &text);
    void snapshotChanged();

private:
    void powerChanged(std::optional<PowerSnapshot> snapshot);
    void sleepChanged(SleepTransition transition);

    PowerSource *m_power;
    SleepMonitor *m_sleep;
    bool m_running = false;
    QString m_lastEventText;
    std::optional<PowerSnapshot> m_snapshot;
    SystemReactionPolicy::State m_policy;
};

#include "Effects/SystemReactionController.h"

#include "Foundation/PublishedProperty.h"
#include "Platform/PowerSource.h"
#include "Platform/SleepMonitor.h"

SystemReactionController::SystemReactionController(PowerSource *power, SleepMonitor *sleep, QObject *parent)
    : QObject(parent)
    , m_power(power)
    , m_sleep(sleep)
{
    if (m_power)
        m_power->start([this](std::optional<PowerSnapshot> snapshot) { powerChanged(snapshot); });
}

SystemReactionController::~SystemReactionController()
{
    if (m_power)
        m_power->stop();
    stop();
}

void SystemReactionController::setLastEventText(const QString &text)
{
    publish(this, m_lastEventText, text, &SystemReactionController::lastEventTextChanged);
}

void SystemReactionController::start()
{
    if (m_running)
        return;
    m_running = true;
    if (m_sleep)
        m_sleep->start([this](SleepTransition transition) { sleepChanged(transition); });
}

void SystemReactionController::stop()
{
    if (!m_running)
        return;
    m_running = false;
    if (m_sleep)
        m_sleep->stop();
}

void SystemReactionController::report(const SystemReactionEvent &event)
{
    setLastEventText(event.text());
    if (onReaction)
        onReaction(event);
}

void SystemReactionController::powerChanged(std::optional<PowerSnapshot> snapshot)
{
    if (snapshot != m_snapshot) {
        m_snapshot = snapshot;
        emit snapshotChanged();
        emit changed();
    }
    if (!snapshot) {
        m_policy = {};
        return;
    }
    // The policy follows every reading, so turning reactions on later reports nothing stale.
    const auto events = SystemReactionPolicy::advance(m_policy, *snapshot);
    if (!m_running || !batteryEnabled)
        return;
    for (const SystemReactionEvent &event : events)
        report(event);
}

void SystemReactionController::sleepChanged(SleepTransition transition)
{
    if (!m_running || !wakeEnabled)
        return;
    report(SystemReactionEvent::of(transition == SleepTransition::willSleep ? SystemReactionEvent::Kind::willSleep
                                                                             : SystemReactionEvent::Kind::didWake));
}

#include "Services/InteractionStats.h"

#include "Services/SettingsStore.h"

namespace {

constexpr auto window = std::chrono::minutes(1);
// Bounds the memory a flood of synthetic key presses could take; far above human typing.
constexpr std::size_t maximumRecentKeys = 20000;

}

InteractionStats::InteractionStats(SettingsStore &settings, const Clock &clock)
    : m_settings(settings)
    , m_clock(clock)
    , m_keys(settings.interactionStatsKeys())
    , m_clicks(settings.interactionStatsClicks())
    , m_lastFlush(clock.uptime())
{
}

void InteractionStats::setEnabled(bool enabled)
{
    std::lock_guard lock(m_mutex);
    m_enabled = enabled;
}

bool InteractionStats::isEnabled() const
{
    std::lock_guard lock(m_mutex);
    return m_enabled;
}

void InteractionStats::setShowsLastKey(bool shows)
{
    std::lock_guard lock(m_mutex);
    m_showsLastKey = shows;
}

bool InteractionStats::wantsKeyLabels() const
{
    std::lock_guard lock(m_mutex);
    return m_enabled && m_showsLastKey;
}

bool InteractionStats::record(const KeySoundEvent &event)
{
    if (event.phase != KeyPhase::down || event.isRepeat || event.group == KeyGroup::modifier
        || event.group == KeyGroup::function)
        return false;
    const auto now = m_clock.uptime();
    std::lock_guard lock(m_mutex);
    if (!m_enabled)
        return false;
    ++m_keys;
    m_dirty = true;
    m_recentKeys.push_back(now);
    if (m_recentKeys.size() > maximumRecentKeys)
        m_recentKeys.pop_front();
    dropOldKeys(now);
    return true;
}

void InteractionStats::recordClick()
{
    std::lock_guard lock(m_mutex);
    if (!m_enabled)
        return;
    ++m_clicks;
    m_dirty = true;
}

InteractionSnapshot InteractionStats::snapshot() const
{
    const auto now = m_clock.uptime();
    std::lock_guard lock(m_mutex);
    dropOldKeys(now);
    return {m_keys, m_clicks, int(m_recentKeys.size())};
}

void InteractionStats::flush()
{
    std::uint64_t keys;
    std::uint64_t clicks;
    {
        std::lock_guard lock(m_mutex);
        m_lastFlush = m_clock.uptime();
        if (!m_dirty)
            return;
        m_dirty = false;
        keys = m_keys;
        clicks = m_clicks;
    }
    m_settings.storeInteractionStats(keys, clicks);
}

void InteractionStats::flushIfDue()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_clock.uptime() - m_lastFlush < flushInterval)
            return;
    }
    flush();
}

void InteractionStats::dropOldKeys(Clock::Uptime now) const
{
    while (!m_recentKeys.empty() && now - m_recentKeys.front() >= window)
        m_recentKeys.pop_front();
}

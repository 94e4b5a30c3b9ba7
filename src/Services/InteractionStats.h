#pragma once

#include "Foundation/Clock.h"
#include "Services/Input/KeySoundEvent.h"
#include "Services/InteractionSnapshot.h"

#include <chrono>
#include <deque>
#include <mutex>

class SettingsStore;

// Key and click totals, kept in the user defaults, and keys per minute over a sliding
// minute. Counting happens on the input threads under a lock; reading the settings and
// writing the totals back happen on the GUI thread.
class InteractionStats {
public:
    static constexpr auto flushInterval = std::chrono::seconds(30);

    InteractionStats(SettingsStore &settings, const Clock &clock);

    void setEnabled(bool enabled);
    bool isEnabled() const;
    // Whether the HUD shows the last key: key labels are made only while this and the
    // statistics are on.
    void setShowsLastKey(bool shows);
    bool wantsKeyLabels() const;

    // Counts key-downs that are not auto-repeats and not modifier or function keys, while
    // enabled; true when the event was counted.
    bool record(const KeySoundEvent &event);
    void recordClick();
    InteractionSnapshot snapshot() const;

    // Writes changed totals to the user defaults.
    void flush();
    // The same, at most once per flushInterval.
    void flushIfDue();

private:
    void dropOldKeys(Clock::Uptime now) const;

    SettingsStore &m_settings;
    const Clock &m_clock;
    mutable std::mutex m_mutex;
    bool m_enabled = false;
    bool m_showsLastKey = false;
    std::uint64_t m_keys = 0;
    std::uint64_t m_clicks = 0;
    bool m_dirty = false;
    mutable std::deque<Clock::Uptime> m_recentKeys;
    Clock::Uptime m_lastFlush;
};

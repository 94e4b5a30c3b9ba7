#include "Services/Audio/LatencyMargin.h"

#include <algorithm>

void LatencyMargin::noteUnderrun(Clock::Uptime now)
{
    m_margin = std::min(m_margin + step, ceiling);
    m_changedAt = now;
}

std::chrono::microseconds LatencyMargin::at(Clock::Uptime now)
{
    if (m_margin > std::chrono::microseconds::zero() && now - m_changedAt >= quietStretch) {
        m_margin = std::max(m_margin - step, std::chrono::microseconds::zero());
        m_changedAt = now;
    }
    return m_margin;
}

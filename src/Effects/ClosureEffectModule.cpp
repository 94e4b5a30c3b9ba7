#include "Effects/ClosureEffectModule.h"

ClosureEffectModule::ClosureEffectModule(EffectID id, EffectCapabilities requiredCapabilities, QObject *owner,
                                         std::function<void()> start, std::function<void()> stop,
                                         std::function<void()> reset)
    : m_id(std::move(id))
    , m_requiredCapabilities(std::move(requiredCapabilities))
    , m_owner(owner)
    , m_start(std::move(start))
    , m_stop(std::move(stop))
    , m_reset(std::move(reset))
{
}

void ClosureEffectModule::start()
{
    runIfOwned(m_start);
}

void ClosureEffectModule::stop()
{
    runIfOwned(m_stop);
}

void ClosureEffectModule::reset()
{
    runIfOwned(m_reset);
}

void ClosureEffectModule::runIfOwned(const std::function<void()> &operation) const
{
    if (m_owner && operation)
        operation();
}

#include "Effects/EffectEngine.h"

#include "Foundation/PublishedProperty.h"

#include <algorithm>

EffectEngine::EffectEngine(QObject *parent) : QObject(parent) {}

EffectEngine::~EffectEngine() = default;

void EffectEngine::registerModule(std::shared_ptr<EffectModule> module)
{
    if (!module)
        return;
    const EffectID id = module->id();
    auto existing = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const Entry &entry) { return entry.module->id() == id; });
    if (existing != m_entries.end()) {
        // Keep the old module alive through its own stop, which may re-enter the engine.
        Entry old = std::move(*existing);
        m_entries.erase(existing);
        if (old.running) {
            old.module->stop();
            emit runningEffectsChanged();
            emit changed();
        }
    }
    m_entries.push_back({std::move(module), false});
    reconcile();
}

void EffectEngine::setEnabled(const EffectID &id, bool enabled)
{
    if (isEnabled(id) == enabled)
        return;
    if (enabled)
        m_enabled.insert(id);
    else
        m_enabled.remove(id);
    emit enabledEffectsChanged();
    emit changed();
    reconcile();
}

QStringList EffectEngine::enabledEffects() const
{
    QStringList ids;
    for (const EffectID &id : m_enabled)
        ids.append(id.rawValue);
    ids.sort();
    return ids;
}

void EffectEngine::setPaused(bool paused)
{
    if (publish(this, m_paused, paused, &EffectEngine::pausedChanged))
        reconcile();
}

void EffectEngine::setCapabilityProfile(const EffectCapabilityProfile &profile)
{
    if (m_profile == profile)
        return;
    m_profile = profile;
    emit changed();
    reconcile();
}

bool EffectEngine::isRunning(const EffectID &id) const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const Entry &entry) { return entry.running && entry.module->id() == id; });
}

QStringList EffectEngine::runningEffects() const
{
    QStringList ids;
    for (const Entry &entry : m_entries) {
        if (entry.running)
            ids.append(entry.module->id().rawValue);
    }
    return ids;
}

void EffectEngine::resetAll()
{
    // Copies, so a module that registers or replaces another during its reset does not
    // disturb the walk.
    std::vector<std::shared_ptr<EffectModule>> modules;
    for (const Entry &entry : m_entries)
        modules.push_back(entry.module);
    for (const auto &module : modules)
        module->reset();
}

bool EffectEngine::shouldRun(const Entry &entry) const
{
    return !m_paused && isEnabled(entry.module->id()) && m_profile.satisfies(entry.module->requiredCapabilities());
}

void EffectEngine::reconcile()
{
    // A module's start or stop may change the engine's state (a setting it writes feeds
    // back here); such changes are settled by another pass instead of a nested one.
    if (m_reconciling) {
        m_reconcileAgain = true;
        return;
    }
    m_reconciling = true;
    bool anyChange = false;
    do {
        m_reconcileAgain = false;
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            const bool wanted = shouldRun(m_entries[i]);
            if (wanted == m_entries[i].running)
                continue;
            m_entries[i].running = wanted;
            anyChange = true;
            const std::shared_ptr<EffectModule> module = m_entries[i].module;
            if (wanted)
                module->start();
            else
                module->stop();
        }
    } while (m_reconcileAgain);
    m_reconciling = false;
    if (anyChange) {
        emit runningEffectsChanged();
        emit changed();
    }
}

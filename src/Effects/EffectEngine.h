#pragma once

#include "Effects/EffectCapabilityProfile.h"
#include "Effects/EffectModule.h"

#include <QObject>
#include <QSet>
#include <QStringList>

#include <memory>
#include <vector>

// Runs every feature as a gated module: a registered module runs exactly while its identity
// is enabled, effects are not paused and the capability profile covers what it needs.
class EffectEngine final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool paused READ isPaused WRITE setPaused NOTIFY pausedChanged)
    Q_PROPERTY(QStringList enabledEffects READ enabledEffects NOTIFY enabledEffectsChanged)
    Q_PROPERTY(QStringList runningEffects READ runningEffects NOTIFY runningEffectsChanged)

public:
    explicit EffectEngine(QObject *parent = nullptr);
    ~EffectEngine() override;

    // A module registered under an identity already present replaces the old one, which is
    // stopped first when it runs.
    void registerModule(std::shared_ptr<EffectModule> module);

    void setEnabled(const EffectID &id, bool enabled);
    bool isEnabled(const EffectID &id) const { return m_enabled.contains(id); }
    QStringList enabledEffects() const;

    bool isPaused() const { return m_paused; }
    void setPaused(bool paused);

    const EffectCapabilityProfile &capabilityProfile() const { return m_profile; }
    void setCapabilityProfile(const EffectCapabilityProfile &profile);

    bool isRunning(const EffectID &id) const;
    QStringList runningEffects() const;

    // Resets every registered module; enabled, paused and running states stay as they are.
    void resetAll();

signals:
    void changed();
    void pausedChanged(bool paused);
    void enabledEffectsChanged();
    void runningEffectsChanged();

private:
    struct Entry {
        std::shared_ptr<EffectModule> module;
        bool running = false;
    };

    bool shouldRun(const Entry &entry) const;
    void reconcile();

    std::vector<Entry> m_entries;
    QSet<EffectID> m_enabled;
    bool m_paused = false;
    EffectCapabilityProfile m_profile;
    bool m_reconciling = false;
    bool m_reconcileAgain = false;
};

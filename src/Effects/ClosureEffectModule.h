#pragma once

#include "Effects/EffectModule.h"

#include <QObject>
#include <QPointer>

#include <functional>

// An effect module made of three closures. It holds its owner weakly: once the owner is
// gone the closures are never called, so they may capture the owner without keeping it.
class ClosureEffectModule final : public EffectModule {
public:
    ClosureEffectModule(EffectID id, EffectCapabilities requiredCapabilities, QObject *owner,
                        std::function<void()> start, std::function<void()> stop, std::function<void()> reset);

    EffectID id() const override { return m_id; }
    EffectCapabilities requiredCapabilities() const override { return m_requiredCapabilities; }
    void start() override;
    void stop() override;
    void reset() override;

private:
    void runIfOwned(const std::function<void()> &operation) const;

    EffectID m_id;
    EffectCapabilities m_requiredCapabilities;
    QPointer<QObject> m_owner;
    std::function<void()> m_start;
    std::function<void()> m_stop;
    std::function<void()> m_reset;
};

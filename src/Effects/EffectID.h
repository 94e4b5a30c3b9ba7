#pragma once

#include <QHashFunctions>
#include <QString>

// The text identity of an effect module ("keyboard-sounds", "desktop-pet", ...).
struct EffectID {
    QString rawValue;

    EffectID() = default;
    explicit EffectID(QString raw) : rawValue(std::move(raw)) {}

    friend bool operator==(const EffectID &, const EffectID &) = default;
};

inline size_t qHash(const EffectID &id, size_t seed = 0) noexcept
{
    return ::qHash(id.rawValue, seed);
}

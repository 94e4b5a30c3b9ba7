#include "Effects/Chaos/ChaosMode.h"

#include <QRandomGenerator>

namespace ChaosModes {
QString displayName(ChaosMode mode)
{
    switch (mode) {
    case ChaosMode::gravity:
        return QStringLiteral("Desktop Gravity");
    case ChaosMode::zeroGravity:
        return QStringLiteral("Zero Gravity");
    case ChaosMode::vortex:
        return QStringLiteral("Tiny Vortex");
    case ChaosMode::earthquake:
        return QStringLiteral("Earthquake");
    }
    return {};
}

ChaosMode random()
{
    constexpr auto modes = allCases<ChaosMode>();
    return modes[QRandomGenerator::global()->bounded(quint32(modes.size()))];
}
}

#include "Effects/SystemReactionEvent.h"

QString SystemReactionEvent::text() const
{
    switch (kind) {
    case Kind::lowBattery:
        return QStringLiteral("Battery crossed %1%").arg(threshold);
    case Kind::chargerConnected:
        return QStringLiteral("Charger connected");
    case Kind::chargerDisconnected:
        return QStringLiteral("Charger disconnected");
    case Kind::fullyCharged:
        return QStringLiteral("Battery fully charged");
    case Kind::willSleep:
        return QStringLiteral("Computer going to sleep");
    case Kind::didWake:
        return QStringLiteral("Computer woke up");
    }
    return {};
}

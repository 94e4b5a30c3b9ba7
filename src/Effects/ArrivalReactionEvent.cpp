#include "Effects/ArrivalReactionEvent.h"

QString ArrivalReactionEvent::text() const
{
    switch (kind) {
    case Kind::download: {
        QString weightName = rawValue(weight);
        weightName[0] = weightName[0].toUpper();
        return weightName + QStringLiteral(" download landed");
    }
    case Kind::volumeConnected:
        return QStringLiteral("External drive connected");
    case Kind::volumeDisconnected:
        return QStringLiteral("External drive disconnected");
    case Kind::displayConnected:
        return QStringLiteral("Display connected");
    case Kind::displayDisconnected:
        return QStringLiteral("Display disconnected");
    }
    return {};
}

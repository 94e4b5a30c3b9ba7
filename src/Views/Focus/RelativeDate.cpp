#include "Views/Focus/RelativeDate.h"

#include <array>

QString RelativeDate::text(const QDateTime &date, const QDateTime &now)
{
    const qint64 seconds = date.secsTo(now);
    const qint64 span = seconds < 0 ? -seconds : seconds;
    struct Unit {
        qint64 seconds;
        const char *singular;
        const char *plural;
    };
    static constexpr std::array<Unit, 6> units{{
        {365 * 86'400, "yr", "yr"},
        {30 * 86'400, "mo", "mo"},
        {7 * 86'400, "wk", "wk"},
        {86'400, "day", "days"},
        {3'600, "hr", "hr"},
        {60, "min", "min"},
    }};
    for (const Unit &unit : units) {
        if (span < unit.seconds)
            continue;
        const qint64 count = span / unit.seconds;
        const QString amount =
            QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? unit.singular : unit.plural));
        return seconds < 0 ? QStringLiteral("in ") + amount : amount + QStringLiteral(" ago");
    }
    return QStringLiteral("just now");
}

#include "Focus/FocusSessionRecord.h"

#include "Focus/FocusJsonReader.h"
#include "Focus/FocusJsonWriter.h"

#include <algorithm>

void FocusSessionRecord::writeJson(QByteArray &out) const
{
    FocusJsonWriter writer(out);
    writer.uuid("id", id)
        .string("goal", goal)
        .date("startedAt", startedAt)
        .date("endedAt", endedAt)
        .integer("plannedMinutes", plannedMinutes)
        .boolean("completed", completed)
        .string("reflection", reflection);
    if (activeSeconds)
        writer.integer("activeSeconds", *activeSeconds);
    writer.finish();
}

qint64 FocusSessionRecord::lengthSeconds() const
{
    const qint64 seconds = activeSeconds ? *activeSeconds : startedAt.dateTime().msecsTo(endedAt.dateTime()) / 1000;
    return std::max<qint64>(seconds, 0);
}

std::optional<FocusSessionRecord> FocusSessionRecord::fromJson(const QJsonValue &value)
{
    FocusJsonReader reader(value);
    return reader.record(FocusSessionRecord{reader.uuid(u"id"),
                                            reader.string(u"goal"),
                                            reader.date(u"startedAt"),
                                            reader.date(u"endedAt"),
                                            reader.integer(u"plannedMinutes"),
                                            reader.boolean(u"completed"),
                                            reader.string(u"reflection"),
                                            reader.optionalInteger(u"activeSeconds")});
}

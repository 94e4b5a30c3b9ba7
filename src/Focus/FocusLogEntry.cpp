#include "Focus/FocusLogEntry.h"

#include "Focus/FocusJsonReader.h"
#include "Focus/FocusJsonWriter.h"

void FocusLogEntry::writeJson(QByteArray &out) const
{
    FocusJsonWriter(out).uuid("id", id).date("date", date).string("goal", goal).string("text", text).finish();
}

std::optional<FocusLogEntry> FocusLogEntry::fromJson(const QJsonValue &value)
{
    FocusJsonReader reader(value);
    return reader.record(
        FocusLogEntry{reader.uuid(u"id"), reader.date(u"date"), reader.string(u"goal"), reader.string(u"text")});
}

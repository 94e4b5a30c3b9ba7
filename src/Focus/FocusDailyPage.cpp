#include "Focus/FocusDailyPage.h"

#include "Focus/FocusJsonReader.h"
#include "Focus/FocusJsonWriter.h"

void FocusDailyPage::writeJson(QByteArray &out) const
{
    FocusJsonWriter(out)
        .string("id", id)
        .string("intention", intention)
        .string("notes", notes)
        .uuids("priorityTaskIDs", priorityTaskIDs)
        .finish();
}

std::optional<FocusDailyPage> FocusDailyPage::fromJson(const QJsonValue &value)
{
    FocusJsonReader reader(value);
    return reader.record(FocusDailyPage{reader.string(u"id"), reader.string(u"intention"), reader.string(u"notes"),
                                        reader.uuids(u"priorityTaskIDs")});
}

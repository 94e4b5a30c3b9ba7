#include "Focus/FocusDrafts.h"

#include "Focus/FocusJsonReader.h"
#include "Focus/FocusJsonWriter.h"

void FocusDrafts::writeJson(QByteArray &out) const
{
    FocusJsonWriter(out)
        .string("task", task)
        .string("reflection", reflection)
        .string("notebookDay", notebookDay)
        .string("intention", intention)
        .string("notes", notes)
        .finish();
}

std::optional<FocusDrafts> FocusDrafts::fromJson(const QJsonValue &value)
{
    FocusJsonReader reader(value);
    return reader.record(FocusDrafts{reader.string(u"task"), reader.string(u"reflection"), reader.string(u"notebookDay"),
                                     reader.string(u"intention"), reader.string(u"notes")});
}

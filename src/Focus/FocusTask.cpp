#include "Focus/FocusTask.h"

#include "Focus/FocusJsonReader.h"
#include "Focus/FocusJsonWriter.h"

void FocusTask::writeJson(QByteArray &out) const
{
    FocusJsonWriter(out)
        .uuid("id", id)
        .string("title", title)
        .boolean("isComplete", isComplete)
        .date("createdAt", createdAt)
        .finish();
}

std::optional<FocusTask> FocusTask::fromJson(const QJsonValue &value)
{
    FocusJsonReader reader(value);
    return reader.record(FocusTask{reader.uuid(u"id"), reader.string(u"title"), reader.boolean(u"isComplete"),
                                   reader.date(u"createdAt")});
}

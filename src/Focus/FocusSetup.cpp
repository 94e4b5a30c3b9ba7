#include "Focus/FocusSetup.h"

#include "Focus/FocusJsonReader.h"
#include "Focus/FocusJsonWriter.h"

void FocusSetup::writeJson(QByteArray &out) const
{
    FocusJsonWriter(out)
        .uuid("id", id)
        .string("goal", goal)
        .integer("minutes", minutes)
        .strings("allowedBundleIDs", allowedBundleIDs)
        .finish();
}

std::optional<FocusSetup> FocusSetup::fromJson(const QJsonValue &value)
{
    FocusJsonReader reader(value);
    return reader.record(FocusSetup{reader.uuid(u"id"), reader.string(u"goal"), reader.integer(u"minutes"),
                                    reader.strings(u"allowedBundleIDs")});
}

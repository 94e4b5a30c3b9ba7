#include "Models/SoundPackManifest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace {

QJsonArray toArray(const QStringList &list)
{
    QJsonArray array;
    for (const QString &entry : list)
        array.append(entry);
    return array;
}

QJsonObject toObject(const SoundPackManifest &manifest)
{
    QJsonObject groups;
    for (const auto &[group, set] : manifest.groups)
        groups.insert(rawValue(group), QJsonObject{{"down", toArray(set.down)}, {"up", toArray(set.up)}});
    QJsonObject object{
        {"id", manifest.id},           {"name", manifest.name},       {"author", manifest.author},
        {"switchType", manifest.switchType}, {"version", manifest.version}, {"license", manifest.license},
        {"kind", rawValue(manifest.kind)},   {"groups", groups},
    };
    if (manifest.metadata) {
        QJsonObject metadata;
        for (const auto &[key, value] : *manifest.metadata)
            metadata.insert(key, value);
        object.insert("metadata", metadata);
    }
    return object;
}

// Writes JSON by hand so that the manifest's fields keep their declaration order.
class OrderedWriter {
public:
    QByteArray text;

    void string(const QString &value)
    {
        const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
        text += wrapped.mid(1, wrapped.size() - 2);
    }

    void stringList(const QStringList &list, int depth)
    {
        if (list.isEmpty()) {
            text += "[]";
            return;
        }
        text += "[\n";
        for (qsizetype i = 0; i < list.size(); ++i) {
            indent(depth + 1);
            string(list[i]);
            text += i + 1 < list.size() ? ",\n" : "\n";
        }
        indent(depth);
        text += "]";
    }

    // Starts a member: the comma after the previous one, the indentation and the key.
    void key(const QString &name, int depth, bool &first)
    {
        text += first ? "\n" : ",\n";
        first = false;
        indent(depth);
        string(name);
        text += ": ";
    }

    void close(int depth, bool empty)
    {
        if (empty) {
            text += "}";
            return;
        }
        text += "\n";
        indent(depth);
        text += "}";
    }

private:
    void indent(int depth) { text += QByteArray(depth * 4, ' '); }
};

QByteArray orderedJson(const SoundPackManifest &manifest)
{
    OrderedWriter w;
    bool first = true;
    w.text += "{";
    const std::pair<const char *, const QString *> fields[] = {
        {"id", &manifest.id},           {"name", &manifest.name},       {"author", &manifest.author},
        {"switchType", &manifest.switchType}, {"version", &manifest.version}, {"license", &manifest.license},
    };
    for (const auto &[name, value] : fields) {
        w.key(QString::fromLatin1(name), 1, first);
        w.string(*value);
    }
    w.key("kind", 1, first);
    w.string(rawValue(manifest.kind));

    w.key("groups", 1, first);
    w.text += "{";
    bool firstGroup = true;
    for (const auto &[group, set] : manifest.groups) {
        w.key(rawValue(group), 2, firstGroup);
        bool firstPhase = true;
        w.text += "{";
        w.key("down", 3, firstPhase);
        w.stringList(set.down, 3);
        w.key("up", 3, firstPhase);
        w.stringList(set.up, 3);
        w.close(2, false);
    }
    w.close(1, manifest.groups.empty());

    if (manifest.metadata) {
        w.key("metadata", 1, first);
        w.text += "{";
        bool firstEntry = true;
        for (const auto &[key, value] : *manifest.metadata) {
            w.key(key, 2, firstEntry);
            w.string(value);
        }
        w.close(1, manifest.metadata->empty());
    }
    w.close(0, false);
    w.text += "\n";
    return w.text;
}

std::unexpected<Error> missing(const QString &key)
{
    return failure(SoundPackError::domain, SoundPackError::unreadableManifest,
                   QStringLiteral("The pack’s manifest has no “%1”.").arg(key));
}

std::unexpected<Error> wrongValue(const QString &key)
{
    return failure(SoundPackError::domain, SoundPackError::unreadableManifest,
                   QStringLiteral("The pack’s manifest has an invalid “%1”.").arg(key));
}

Result<QString> requiredString(const QJsonObject &object, const QString &key)
{
    const auto it = object.constFind(key);
    if (it == object.constEnd())
        return missing(key);
    if (!it->isString())
        return wrongValue(key);
    return it->toString();
}

Result<QStringList> stringList(const QJsonObject &object, const QString &key, const QString &context)
{
    const auto it = object.constFind(key);
    if (it == object.constEnd())
        return missing(context + "." + key);
    if (!it->isArray())
        return wrongValue(context + "." + key);
    QStringList list;
    for (const QJsonValue &value : it->toArray()) {
        if (!value.isString())
            return wrongValue(context + "." + key);
        list.append(value.toString());
    }
    return list;
}

// Groups of unknown names are left out, so newer packs still load.
Result<std::map<KeyGroup, SampleSet>> readGroups(const QJsonObject &object)
{
    const auto groups = object.constFind("groups");
    if (groups == object.constEnd())
        return missing("groups");
    if (!groups->isObject())
        return wrongValue("groups");
    std::map<KeyGroup, SampleSet> sets;
    const QJsonObject groupObject = groups->toObject();
    for (auto it = groupObject.constBegin(); it != groupObject.constEnd(); ++it) {
        const auto group = fromRaw<KeyGroup>(it.key());
        if (!group)
            continue;
        if (!it->isObject())
            return wrongValue("groups." + it.key());
        const QJsonObject setObject = it->toObject();
        auto down = stringList(setObject, "down", "groups." + it.key());
        if (!down)
            return std::unexpected(down.error());
        auto up = stringList(setObject, "up", "groups." + it.key());
        if (!up)
            return std::unexpected(up.error());
        sets[*group] = SampleSet{*down, *up};
    }
    return sets;
}

Result<std::optional<std::map<QString, QString>>> readMetadata(const QJsonObject &object)
{
    const auto metadata = object.constFind("metadata");
    if (metadata == object.constEnd() || metadata->isNull())
        return std::nullopt;
    if (!metadata->isObject())
        return wrongValue("metadata");
    std::map<QString, QString> entries;
    const QJsonObject metadataObject = metadata->toObject();
    for (auto it = metadataObject.constBegin(); it != metadataObject.constEnd(); ++it) {
        if (!it->isString())
            return wrongValue("metadata." + it.key());
        entries[it.key()] = it->toString();
    }
    return entries;
}

}

QByteArray SoundPackManifest::toJson(KeyOrder order) const
{
    if (order == KeyOrder::sorted)
        return QJsonDocument(toObject(*this)).toJson(QJsonDocument::Indented);
    return orderedJson(*this);
}

Result<SoundPackManifest> SoundPackManifest::fromJson(const QByteArray &json)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return failure(SoundPackError::domain, SoundPackError::unreadableManifest,
                       QStringLiteral("The pack’s manifest isn’t valid JSON."));
    const QJsonObject object = document.object();

    SoundPackManifest manifest;
    const std::pair<const char *, QString *> fields[] = {
        {"id", &manifest.id},           {"name", &manifest.name},       {"author", &manifest.author},
        {"switchType", &manifest.switchType}, {"version", &manifest.version}, {"license", &manifest.license},
    };
    for (const auto &[key, target] : fields) {
        auto value = requiredString(object, QString::fromLatin1(key));
        if (!value)
            return std::unexpected(value.error());
        *target = *value;
    }

    auto kindText = requiredString(object, "kind");
    if (!kindText)
        return std::unexpected(kindText.error());
    const auto kind = fromRaw<PackKind>(*kindText);
    if (!kind)
        return wrongValue("kind");
    manifest.kind = *kind;

    auto groups = readGroups(object);
    if (!groups)
        return std::unexpected(groups.error());
    manifest.groups = std::move(*groups);
    auto metadata = readMetadata(object);
    if (!metadata)
        return std::unexpected(metadata.error());
    manifest.metadata = std::move(*metadata);
    return manifest;
}

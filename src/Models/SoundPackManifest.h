#pragma once

#include "Foundation/Error.h"
#include "Foundation/RawEnum.h"
#include "Models/KeyGroup.h"
#include "Models/SampleSet.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

// The content of a pack's "manifest.json".
struct SoundPackManifest {
    enum class PackKind { keyboard, reaction };

    // Whether the JSON writer keeps the fields in declaration order or sorts every object's keys.
    enum class KeyOrder { declaration, sorted };

    QString id;
    QString name;
    QString author;
    QString switchType;
    QString version;
    QString license;
    PackKind kind = PackKind::keyboard;
    std::map<KeyGroup, SampleSet> groups;
    std::optional<std::map<QString, QString>> metadata;

    bool operator==(const SoundPackManifest &) const = default;

    // Pretty-printed JSON; `metadata` is written only when present.
    QByteArray toJson(KeyOrder order = KeyOrder::declaration) const;

    // Unknown keys (and groups this version does not know) are ignored.
    static Result<SoundPackManifest> fromJson(const QByteArray &json);
};

template <>
struct RawEnumTable<SoundPackManifest::PackKind> {
    static constexpr std::array entries{RawEnumEntry{SoundPackManifest::PackKind::keyboard, "keyboard"},
                                        RawEnumEntry{SoundPackManifest::PackKind::reaction, "reaction"}};
};

namespace SoundPackError {
inline const QString domain = QStringLiteral("Knockwell.SoundPack");
enum Code : int {
    invalid = 1,
    unreadableManifest = 2,
};
}

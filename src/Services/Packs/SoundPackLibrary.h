#pragma once

#include "Foundation/Error.h"
#include "Models/LoadedSoundPack.h"

#include <QList>
#include <QString>

// Discovery of the packs in one library folder.
namespace SoundPackLibrary {
// The packs of `kind` directly under `folder`, sorted by name. A folder whose manifest is
// missing, unreadable or invalid is left out; when two folders claim one identifier the first
// (by folder name) wins. Fails only when `folder` itself cannot be listed.
Result<QList<LoadedSoundPack>> load(const QString &folder, SoundPackManifest::PackKind kind);

// The packs of either kind under `folder`, in folder-name order.
Result<QList<LoadedSoundPack>> loadAll(const QString &folder);

// Sorts packs by name as people read them, ties broken by identifier.
void sortByName(QList<LoadedSoundPack> &packs);
}

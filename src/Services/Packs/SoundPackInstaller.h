#pragma once

#include "Foundation/Error.h"
#include "Models/LoadedSoundPack.h"

#include <QString>

class ImportProgress;

// Installs a copy of a complete pack folder into a library root: the manifest and exactly the
// files it lists, each checked under the import limits, assembled in a hidden staging folder
// beside the destination and moved into place only when complete.
namespace SoundPackInstaller {
// A pack the user chose: every file must be a plain file owned by the user, every sample must
// decode. Errors carry a user-facing sentence ("Knockwell.PackImport", or the manifest's own
// "Knockwell.SoundPack" errors). Nothing at `source` is needed afterwards.
Result<LoadedSoundPack> installFolder(const QString &source, const QString &destinationRoot,
                                      SoundPackManifest::PackKind kind, const ImportProgress *cancellation);

// One of the application's own packs, whose files may belong to another user (a system-wide
// installation); otherwise checked like installFolder.
Result<LoadedSoundPack> installBundled(const QString &source, const QString &destinationRoot,
                                       SoundPackManifest::PackKind kind);

// A manifest's bytes parsed, validated and checked to be of `kind`.
Result<SoundPackManifest> checkManifest(const QByteArray &bytes, SoundPackManifest::PackKind kind);

// The name of an installed pack's folder: its identifier reduced to safe characters.
QString folderName(const QString &packId);
}

#pragma once

#include "Foundation/Error.h"
#include "Models/LoadedSoundPack.h"

#include <QString>

class ImportProgress;

// Installs the sound pack inside a ZIP archive. The manifest sits at the archive's top or
// inside its single top folder; "__MACOSX/" and ".DS_Store" entries are ignored. Archives with
// unsafe paths, links, special or encrypted entries are refused before anything is extracted.
namespace ZipPackImporter {
Result<LoadedSoundPack> importArchive(const QString &archivePath, const QString &destinationRoot,
                                      SoundPackManifest::PackKind kind, const ImportProgress *cancellation);
}

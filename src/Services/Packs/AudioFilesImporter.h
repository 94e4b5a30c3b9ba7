#pragma once

#include "Foundation/Error.h"
#include "Models/LoadedSoundPack.h"

#include <QStringList>

class ImportProgress;

// Turns loose audio files into one new reaction pack: every file becomes a press sample of
// the `reaction` group. Failures of the files themselves are "Knockwell.AudioImport" errors.
namespace AudioFilesImporter {
Result<LoadedSoundPack> importFiles(const QStringList &audioPaths, const QString &destinationRoot,
                                    const ImportProgress *cancellation);

// The new pack's name: the first file's name without its extension, "+ N more" for the rest.
QString packName(const QStringList &audioPaths);
}

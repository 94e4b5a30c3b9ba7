#pragma once

#include "Foundation/Error.h"

#include <QString>

// File operations that never replace what is already there.
namespace SafeFiles {
// Moves a file or folder to `destination`, failing with fileWriteFileExists (516) when
// anything already stands there. A plain rename() would silently replace a file.
Result<void> moveNoReplace(const QString &source, const QString &destination);

// Removes a file, or a folder with everything in it, without following symbolic links.
void removeAll(const QString &path);

// "<prefix><UPPER-CASE UUID>", for hidden temporary items beside a destination.
QString temporaryName(const QString &prefix);
}

#pragma once

#include "Foundation/Error.h"

#include <QString>

// File operations that never replace what is already there.
namespace SafeFiles {
// The kernel's atomic no-replace rename: 0, or -1 with errno set.
using RenameNoReplace = int (*)(const char *from, const char *to);
int renameNoReplace(const char *from, const char *to);

// Moves a file or folder to `destination`, failing with fileWriteFileExists (516) when
// anything already stands there. A plain rename() would silently replace a file. Where the
// file system refuses the atomic rename (some network and FUSE ones), a file is linked and
// unlinked and a folder is moved onto a placeholder made exclusively for it. `rename` is
// replaceable so that fallback can be exercised on any file system.
Result<void> moveNoReplace(const QString &source, const QString &destination,
                           RenameNoReplace rename = renameNoReplace);

// Removes a file, or a folder with everything in it, without following symbolic links.
void removeAll(const QString &path);

// "<prefix><UPPER-CASE UUID>", for hidden temporary items beside a destination.
QString temporaryName(const QString &prefix);
}

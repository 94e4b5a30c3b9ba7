#pragma once

#include "Foundation/Error.h"
#include "Foundation/UniqueFd.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>

#include <optional>

// A kind of file other programs keep (desktop entries, desktop settings and pictures, the
// Desktop folder, theme files, /proc and /sys). Any of them may be a link to a FIFO or a
// device, or far larger than it should be.
struct ForeignFile {
    // follow: the link's target is taken, then checked like the file itself.
    enum class Links { refuse, follow };
    // cut: only the first maxBytes of a larger file are read (enough to recognise it).
    enum class Excess { refuse, cut };

    const char *kind; // named in the log
    qint64 maxBytes;
    Links links;
    Excess excess;
    const QLoggingCategory &(*category)();
};

namespace ForeignFiles {
extern const ForeignFile desktopEntry;
extern const ForeignFile desktopSettings;
// Qt's default allocation limit for a decoded image; no picture file needs to be larger.
extern const ForeignFile desktopPicture;
extern const ForeignFile desktopItemHead;
extern const ForeignFile kernelTable;
extern const ForeignFile kernelAttribute;
}

// File operations that never replace what is already there, and the one way of reading a
// file we do not own.
namespace SafeFiles {
// The file's bytes when it is a regular file within the kind's limits. The open never
// blocks (a FIFO is refused, not waited on) and never reads more than the limit. A refusal
// is logged under the kind's category; a missing file is no refusal and is not logged.
std::optional<QByteArray> readForeign(const QString &path, const ForeignFile &kind);
// The same checks for a file read again and again through its descriptor (a sensor's value,
// a table watched for changes); an invalid descriptor when refused or missing.
UniqueFd openForeign(const QString &path, const ForeignFile &kind);

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

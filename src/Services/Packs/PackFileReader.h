#pragma once

#include "Foundation/Error.h"
#include "Foundation/UniqueFd.h"

#include <QByteArray>
#include <QString>

// Reads the files of a pack without ever following a symbolic link, and only when they are
// plain files of acceptable size (and, for the user's own packs, owned by the user).
// Failures are Cocoa file errors: no such file (260), no permission (257), too large (263),
// and a link, device or other special file (256).
namespace PackFileReader {
enum class Ownership { currentUser, anyone };

// `path` itself may not be a link; its folders are taken as they are.
Result<UniqueFd> open(const QString &path, qint64 maxBytes, Ownership ownership);
Result<QByteArray> readFile(const QString &path, qint64 maxBytes, Ownership ownership);

// A file at `relativePath` (components separated by "/") inside `folder`; no component may be a link.
Result<QByteArray> read(const QString &folder, const QString &relativePath, qint64 maxBytes, Ownership ownership);
}

#include "Services/Studio/StudioFileError.h"

#include "Services/Packs/PackImportErrors.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>

Error StudioFileError::reading(int errorNumber, const QString &itemName)
{
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        if (AudioImportError::isUndecodableName(itemName))
            return Error{CocoaError::domain, CocoaError::fileReadNoSuchFile,
                         AudioImportError::message(AudioImportError::undecodableName).arg(itemName)};
        return Error{CocoaError::domain, CocoaError::fileReadNoSuchFile,
                     QStringLiteral("The file “%1” couldn’t be opened because there is no such file.").arg(itemName)};
    case EACCES:
    case EPERM:
        return Error{CocoaError::domain, CocoaError::fileReadNoPermission,
                     QStringLiteral("The file “%1” couldn’t be opened because you don’t have permission to view it.")
                         .arg(itemName)};
    default:
        return PosixError::fromErrno(errorNumber);
    }
}

Error StudioFileError::writing(int errorNumber, const QString &itemName)
{
    switch (errorNumber) {
    case ENOENT:
        return Error{CocoaError::domain, CocoaError::fileNoSuchFile,
                     QStringLiteral("“%1” couldn’t be saved because its folder doesn’t exist.").arg(itemName)};
    case ENOTDIR:
        return Error{CocoaError::domain, CocoaError::fileNoSuchFile,
                     QStringLiteral("“%1” couldn’t be saved because a file stands where one of its folders should be.")
                         .arg(itemName)};
    case EEXIST:
        return Error{CocoaError::domain, CocoaError::fileWriteFileExists,
                     QStringLiteral("“%1” couldn’t be saved because an item with the same name already exists.")
                         .arg(itemName)};
    case EACCES:
    case EPERM:
    case EROFS:
        return Error{CocoaError::domain, CocoaError::fileWriteNoPermission,
                     QStringLiteral("You don’t have permission to save “%1” in that folder.").arg(itemName)};
    case ENOSPC:
    case EDQUOT:
        return Error{CocoaError::domain, CocoaError::fileWriteOutOfSpace,
                     QStringLiteral("There isn’t enough space to save “%1”.").arg(itemName)};
    default:
        return PosixError::fromErrno(errorNumber);
    }
}

bool StudioFileError::itemExists(const QString &path)
{
    struct stat info{};
    // A file standing where a folder of the path should be means nothing can be there.
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

#pragma once

#include "Foundation/Error.h"

#include <QString>

// The failures of pack import, one table per domain: a small code and one user-facing sentence.
// Sentences with a "%1" name the file concerned.
namespace PackImportError {
inline const QString domain = QStringLiteral("Knockwell.PackImport");
enum Code : int {
    folderUnreadable = 1,
    noManifest = 2,
    manifestTooLarge = 3,
    expectedKeyboardPack = 4,
    expectedReactionPack = 5,
    duplicateIdentity = 6,
    missingFile = 7,
    notPlainFile = 8,
    unreadableFile = 9,
    fileTooLarge = 10,
    packTooLarge = 11,
    undecodableSample = 12,
    cancelled = 13,
    libraryNotWritable = 14,
    unsupportedItems = 15,
    nameTooLong = 16,
    fileUsedAsFolder = 17,
};
QString message(Code code);
Error make(Code code, const QString &file = {});
}

namespace ZipImportError {
inline const QString domain = QStringLiteral("Knockwell.ZIPImport");
enum Code : int {
    unreadableArchive = 1,
    archiveTooLarge = 2,
    tooManyEntries = 3,
    unsafePath = 4,
    linkOrSpecialFile = 5,
    encrypted = 6,
    entryTooLarge = 7,
    expandsTooMuch = 8,
    damagedEntry = 9,
    noPack = 10,
    duplicateEntry = 11,
    unsupportedCompression = 12,
    undecodableName = 13,
};
QString message(Code code);
Error make(Code code);
}

namespace AudioImportError {
inline const QString domain = QStringLiteral("Knockwell.AudioImport");
enum Code : int {
    noFiles = 1,
    tooManyFiles = 2,
    missingFile = 3,
    unreadableFile = 4,
    fileTooLarge = 5,
    tooMuchAudio = 6,
    undecodable = 7,
    undecodableName = 8,
};
QString message(Code code);
Error make(Code code, const QString &file = {});
// A name whose bytes are not UTF-8 arrives with U+FFFD in their place, so it cannot be found.
bool isUndecodableName(const QString &file);
}

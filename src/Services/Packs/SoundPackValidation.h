#pragma once

#include "Foundation/Error.h"
#include "Models/SoundPackManifest.h"

#include <QStringView>

// The rules every manifest must satisfy before a pack is listed or installed.
namespace SoundPackValidation {
inline constexpr int maxIdentityCharacters = 256;
// Four bytes for each of those characters in UTF-8.
inline constexpr int maxIdentityBytes = 1024;
inline constexpr int maxLicenseCharacters = 2048;
inline constexpr int maxSampleReferences = 256;
inline constexpr int maxPathCharacters = 1024;

// The first broken rule as an error in "Knockwell.SoundPack" with code 1.
Result<void> validate(const SoundPackManifest &manifest);

// A non-empty relative path of at most 1024 characters, without backslashes, colons or
// control characters, whose "/"-separated components are neither empty, "." nor "..".
bool isSafeRelativePath(QStringView path);

// User-perceived characters (grapheme clusters), as people count them.
qsizetype characterCount(const QString &text);
}

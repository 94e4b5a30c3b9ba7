#pragma once

#include "Foundation/Error.h"

#include <QString>

// File-manager failures of the studio in the Cocoa codes the rest of the system uses, each
// with a sentence naming the item the user asked for.
namespace StudioFileError {
Error reading(int errorNumber, const QString &itemName);
Error writing(int errorNumber, const QString &itemName);

// Whether anything, even a dangling symbolic link, stands at `path`.
bool itemExists(const QString &path);
}

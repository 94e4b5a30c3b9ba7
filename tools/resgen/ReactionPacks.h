#pragma once

#include <QString>

// The built-in reaction packs: cartoon voices and comic percussion for taps on the computer.
namespace ReactionPacks {
bool generate(const QString &folder);
}

#pragma once

#include <QString>

// The built-in key-switch packs, each with press and release sounds for every key group and
// the three mouse buttons.
namespace KeyboardPacks {
bool generate(const QString &folder);
}

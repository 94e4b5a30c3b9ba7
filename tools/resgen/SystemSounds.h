#pragma once

#include <QString>

// Short alert sounds named after the desktop's classic set ("Glass", "Pop", …), one WAV each.
namespace SystemSounds {
bool generate(const QString &folder);
}

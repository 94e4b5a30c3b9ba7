#pragma once

#include <QString>

// The read-only "KnockwellResources" folder the build generates beside the executable.
namespace ResourceBundle {
// $PLINKLY_RESOURCES when set; otherwise "KnockwellResources" beside the executable, or one or
// two folders up, where the build tree's tests, benchmarks and tools sit below it.
QString path();

// `relative` (e.g. "SystemSounds/Glass.wav") inside the bundle.
QString filePath(const QString &relative);
}

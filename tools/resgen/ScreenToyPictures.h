#pragma once

#include <QString>

// The screen toys' pictures, drawn here: first-person hands holding each toy (two frames side
// by side for the blaster and the AK-47), cracked glass, a wet-glass texture, the grenade's
// crater and flame, and the muzzle flash. Skin is drawn in the hand tones' original swatch,
// metal in neutral greys, so the tone recolouring finds the hands and leaves the weapons.
namespace ScreenToyPictures {
bool generate(const QString &folder);
}

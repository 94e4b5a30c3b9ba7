#pragma once

#include "Services/Audio/SoundBank.h"
#include "Services/Audio/SoundRouter.h"

// Which samples of the click pack the mouse buttons play.
namespace MouseSoundPolicy {
// A button whose group the pack has plays it; other buttons borrow the left button's sound
// when the pack has one, and otherwise fall through to the pack's regular key.
MouseTuning::GroupTable groupTable(const SoundBank &clickPack);
}

#pragma once

#include "Models/KeyGroup.h"
#include "Models/KeyPhase.h"
#include "Services/Studio/AudioClipEdit.h"
#include "Services/Studio/DecodedClip.h"

// One edited clip assigned to a pack slot. The clip's samples are shared, not copied, so a
// pack of many cuts from one recording holds that recording once.
struct StudioSample {
    DecodedClip clip;
    AudioClipEdit edit;
    KeyGroup group = KeyGroup::regular;
    KeyPhase phase = KeyPhase::down;
};

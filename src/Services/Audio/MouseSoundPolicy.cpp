#include "Services/Audio/MouseSoundPolicy.h"

MouseTuning::GroupTable MouseSoundPolicy::groupTable(const SoundBank &clickPack)
{
    MouseTuning::GroupTable table = MouseTuning::identityTable();
    for (KeyGroup button : {KeyGroup::mouseRight, KeyGroup::mouseOther}) {
        if (!clickPack.has(button) && clickPack.has(KeyGroup::mouseLeft))
            table[std::size_t(button)] = KeyGroup::mouseLeft;
    }
    return table;
}

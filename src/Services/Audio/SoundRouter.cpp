#include "Services/Audio/SoundRouter.h"

#include <algorithm>
#include <cmath>

SoundRouter::SoundRouter(AudioEngine &typing, AudioEngine &mouse, AudioEngine &reaction)
    : m_typing(typing)
    , m_mouse(mouse)
    , m_reaction(reaction)
{
}

bool SoundRouter::playKey(const KeySoundEvent &event)
{
    const TypingTuning tuning = typingTuning();
    if (!tuning.enabled || event.isRepeat)
        return false;
    const double pan = tuning.stereo ? event.pan : 0.0;
    if (!std::isfinite(pan) || !std::isfinite(tuning.volume) || !std::isfinite(tuning.volumeVariation)
        || !std::isfinite(tuning.pitchVariation))
        return false;
    SoundRequest request;
    request.group = event.group;
    request.phase = event.phase;
    request.pan = std::clamp(pan, -1.0, 1.0);
    request.volume = std::clamp(tuning.volume, 0.0, maxVolume);
    request.volumeVariation = std::clamp(tuning.volumeVariation, 0.0, maxVolumeVariation);
    request.pitchVariation = std::clamp(tuning.pitchVariation, 0.0, maxPitchVariation);
    m_typing.play(request);
    return true;
}

bool SoundRouter::playClick(KeyGroup group)
{
    const MouseTuning tuning = mouseTuning();
    if (!tuning.enabled || tuning.suppressed || !std::isfinite(tuning.volume))
        return false;
    SoundRequest request;
    request.group = tuning.groupTable[std::size_t(group)];
    request.phase = KeyPhase::down;
    request.volume = std::clamp(tuning.volume, 0.0, maxVolume);
    request.volumeVariation = clickVolumeVariation;
    request.pitchVariation = clickPitchVariation;
    m_mouse.play(request);
    return true;
}

bool SoundRouter::playImpact(double strength)
{
    const ReactionTuning tuning = reactionTuning();
    const double volume = tuning.volume * strength;
    if (!tuning.enabled || !std::isfinite(volume))
        return false;
    SoundRequest request;
    request.group = KeyGroup::reaction;
    request.phase = KeyPhase::down;
    request.volume = std::clamp(volume, 0.0, maxVolume);
    request.volumeVariation = tapVolumeVariation;
    request.pitchVariation = tapPitchVariation;
    m_reaction.play(request);
    return true;
}

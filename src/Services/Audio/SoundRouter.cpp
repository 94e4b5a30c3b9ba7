#include "Services/Audio/SoundRouter.h"

#include <algorithm>
#include <cmath>

SoundRouter::SoundRouter(AudioEngine &typing, AudioEngine &mouse, AudioEngine &reaction)
    : m_typing(typing)
    , m_mouse(mouse)
    , m_reaction(reaction)
{
}

void SoundRouter::setTypingTuning(const TypingTuning &tuning)
{
    std::lock_guard lock(m_typingMutex);
    m_typingTuning = tuning;
}

TypingTuning SoundRouter::typingTuning() const
{
    std::lock_guard lock(m_typingMutex);
    return m_typingTuning;
}

void SoundRouter::setMouseTuning(const MouseTuning &tuning)
{
    std::lock_guard lock(m_mouseMutex);
    m_mouseTuning = tuning;
}

MouseTuning SoundRouter::mouseTuning() const
{
    std::lock_guard lock(m_mouseMutex);
    return m_mouseTuning;
}

void SoundRouter::setReactionTuning(const ReactionTuning &tuning)
{
    std::lock_guard lock(m_reactionMutex);
    m_reactionTuning = tuning;
}

ReactionTuning SoundRouter::reactionTuning() const
{
    std::lock_guard lock(m_reactionMutex);
    return m_reactionTuning;
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
    KeyGroup mapped;
    double volume;
    {
        std::lock_guard lock(m_mouseMutex);
        if (!m_mouseTuning.enabled || m_mouseTuning.suppressed || !std::isfinite(m_mouseTuning.volume))
            return false;
        mapped = m_mouseTuning.groupTable[std::size_t(group)];
        volume = m_mouseTuning.volume;
    }
    SoundRequest request;
    request.group = mapped;
    request.phase = KeyPhase::down;
    request.volume = std::clamp(volume, 0.0, maxVolume);
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

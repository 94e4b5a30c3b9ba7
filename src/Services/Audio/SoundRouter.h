#pragma once

#include "Models/KeyGroup.h"
#include "Services/Audio/AudioEngine.h"
#include "Services/Input/KeySoundEvent.h"

#include <array>
#include <mutex>

// The settings a road reads for each sound, copied in from the settings store on the GUI
// thread and read under a lock by the input threads.
struct TypingTuning {
    bool enabled = false;
    double volume = 0.0;
    bool stereo = false;
    double pitchVariation = 0.0;
    double volumeVariation = 0.0;
};

struct MouseTuning {
    using GroupTable = std::array<KeyGroup, allCases<KeyGroup>().size()>;

    bool enabled = false;
    double volume = 0.0;
    // Which group of the click pack sounds for each button's group.
    GroupTable groupTable = identityTable();
    // Set while a screen toy turns clicks into its own sounds.
    bool suppressed = false;

    static GroupTable identityTable() { return allCases<KeyGroup>(); }
};

struct ReactionTuning {
    bool enabled = false;
    double volume = 0.0;
};

// The three roads from input to sound: keys to the typing engine, clicks to the mouse engine,
// laptop taps to the reaction engine. Called on the input threads; each road reads its
// tuning under its own lock and hands the sound to its engine's queue.
class SoundRouter {
public:
    static constexpr double clickVolumeVariation = 0.06;
    static constexpr double clickPitchVariation = 0.025;
    static constexpr double tapVolumeVariation = 0.06;
    static constexpr double tapPitchVariation = 0.035;
    static constexpr double maxVolume = 2.0;
    static constexpr double maxVolumeVariation = 0.15;
    static constexpr double maxPitchVariation = 0.06;

    SoundRouter(AudioEngine &typing, AudioEngine &mouse, AudioEngine &reaction);

    void setTypingTuning(const TypingTuning &tuning) { m_typingTuning.set(tuning); }
    TypingTuning typingTuning() const { return m_typingTuning.get(); }
    void setMouseTuning(const MouseTuning &tuning) { m_mouseTuning.set(tuning); }
    MouseTuning mouseTuning() const { return m_mouseTuning.get(); }
    void setReactionTuning(const ReactionTuning &tuning) { m_reactionTuning.set(tuning); }
    ReactionTuning reactionTuning() const { return m_reactionTuning.get(); }

    // Each returns whether a sound was queued.
    bool playKey(const KeySoundEvent &event);
    bool playClick(KeyGroup group);
    bool playImpact(double strength);

private:
    // A tuning with its own lock: each road copies it out and works on the copy.
    template <typename Tuning>
    class Guarded {
    public:
        Tuning get() const
        {
            std::lock_guard lock(m_mutex);
            return m_value;
        }
        void set(const Tuning &value)
        {
            std::lock_guard lock(m_mutex);
            m_value = value;
        }

    private:
        mutable std::mutex m_mutex;
        Tuning m_value;
    };

    AudioEngine &m_typing;
    AudioEngine &m_mouse;
    AudioEngine &m_reaction;
    Guarded<TypingTuning> m_typingTuning;
    Guarded<MouseTuning> m_mouseTuning;
    Guarded<ReactionTuning> m_reactionTuning;
};

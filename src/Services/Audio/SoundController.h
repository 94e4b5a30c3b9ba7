#pragma once

#include "Platform/Platform.h"
#include "Services/Audio/AudioEngine.h"
#include "Services/Audio/BuiltInSystemSoundPlayer.h"
#include "Services/Audio/SoundChannel.h"
#include "Services/Audio/SoundRouter.h"
#include "Services/Packs/SoundPackManager.h"
#include "Services/SettingsStore.h"
#include "Services/Studio/StudioPreviewPlayer.h"

#include <QFuture>
#include <QHash>
#include <QObject>

#include <array>
#include <atomic>
#include <memory>
#include <optional>

// The sound side of the application: the pack library, one engine per sound family, the
// router the input roads play through, pack selection and the previews.
class SoundController final : public QObject {
    Q_OBJECT

public:
    using PendingSoundPackIDs = QHash<SoundChannel, QString>;

    SoundController(Platform &platform, SettingsStore &settings, QObject *parent = nullptr);
    ~SoundController() override;

    SoundPackManager &packs() { return *m_packs; }
    AudioEngine &typingEngine() { return *m_typingEngine; }
    AudioEngine &mouseEngine() { return *m_mouseEngine; }
    AudioEngine &reactionEngine() { return *m_reactionEngine; }
    SoundRouter &soundRouter() { return *m_soundRouter; }
    SystemSoundPlayer &systemSounds() { return *m_systemSounds; }

    // Prepares the library, settles the selections and loads the three selected packs. No
    // output stream opens before a sound plays: an open stream with nothing to play still
    // costs the sound server its wake-ups.
    void start();

    // Clicks arrive on the mouse reader's thread, taps on the accelerometer's.
    void handleMouseClick(KeyGroup group);
    void handleImpact(double strength);
    // Set while a screen toy plays its own sounds for clicks.
    void setClickSoundsSuppressed(bool suppressed);

    // Loads the pack into the channel's engine off the GUI thread; the selection changes only
    // when the load succeeds and is still the channel's latest. Yields whether it did.
    QFuture<bool> selectSoundPack(const QString &id, SoundChannel channel);
    PendingSoundPackIDs pendingSoundPackIDs() const { return m_pendingSoundPackIDs; }
    std::optional<QString> audioError(SoundChannel channel) const { return m_audioErrors[std::size_t(channel)]; }
    void previewKeyboard();
    void previewMouse();
    void previewReaction();
    // A player of the studio's own, on an output stream of its own.
    std::unique_ptr<StudioPreviewPlayer> makeStudioPreviewPlayer();

signals:
    void changed();
    void pendingSoundPackIDsChanged();
    void keyboardAudioErrorChanged();
    void mouseAudioErrorChanged();
    void reactionAudioErrorChanged();

private:
    enum class SelectionCommit { write, keep };
    using LoadedSounds = Result<std::shared_ptr<const SoundBank>>;

    void wireSettings();
    void settleSelections();
    QFuture<bool> loadSoundPack(const QString &id, SoundChannel channel, SelectionCommit commit);
    bool finishSoundPackLoad(const QString &id, SoundChannel channel, SelectionCommit commit, quint64 generation,
                             const LoadedSounds &loaded);
    void writeSelection(const QString &id, SoundChannel channel);
    AudioEngine &engine(SoundChannel channel);
    void setAudioError(SoundChannel channel, const std::optional<QString> &message);
    void updateTypingTuning();
    void updateMouseTuning();
    void updateReactionTuning();

    SettingsStore &m_settings;
    Scheduler &m_scheduler;
    std::function<std::unique_ptr<AudioOutput>()> m_makeAudioOutput;
    const Clock &m_clock;
    std::unique_ptr<SoundPackManager> m_packs;
    std::unique_ptr<AudioEngine> m_typingEngine;
    std::unique_ptr<AudioEngine> m_mouseEngine;
    std::unique_ptr<AudioEngine> m_reactionEngine;
    std::unique_ptr<BuiltInSystemSoundPlayer> m_systemSounds;
    std::unique_ptr<SoundRouter> m_soundRouter;
    struct PackLoad {
        quint64 generation = 0;
        // The generation the worker threads compare theirs with before the engine swaps.
        std::shared_ptr<std::atomic<quint64>> latest = std::make_shared<std::atomic<quint64>>(0);
        std::shared_ptr<std::atomic<bool>> cancelled;
        // What the engine plays now: the pack and its sounds, decoded at the bank's rate.
        std::optional<LoadedSoundPack> pack;
        std::shared_ptr<const SoundBank> bank;
    };
    std::array<PackLoad, 3> m_packLoads;
    // Every load still running, superseded ones included: they reach into the engines.
    QList<QFuture<LoadedSounds>> m_runningLoads;
    PendingSoundPackIDs m_pendingSoundPackIDs;
    std::array<std::optional<QString>, 3> m_audioErrors;
    // Direct writes of a selection load that pack only once start() has loaded the first ones,
    // and never while selectSoundPack() writes the selection its own load made.
    bool m_started = false;
    bool m_committingSelection = false;
};

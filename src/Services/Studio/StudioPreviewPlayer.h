#pragma once

#include "Foundation/Error.h"
#include "Services/Audio/AudioEngine.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

// Plays one studio preview once through an engine of its own, so a preview never takes a
// voice from typing. Starting a preview stops the one before it.
class StudioPreviewPlayer {
public:
    using Sound = std::shared_ptr<const PlaybackSample>;

    // `output` null: the machine has no sound output and every preview is refused.
    StudioPreviewPlayer(std::unique_ptr<AudioOutput> output, const Clock &clock);
    ~StudioPreviewPlayer();
    StudioPreviewPlayer(const StudioPreviewPlayer &) = delete;
    StudioPreviewPlayer &operator=(const StudioPreviewPlayer &) = delete;

    // The rate previews are prepared at, the output's own, for a worker to ask: the first
    // answer may wait on the sound server. Yields 0 once the player is gone.
    std::function<int()> sampleRateQuery() const;
    // Reads a preview file and converts it to `sampleRate`; from any thread, since a long clip
    // takes a while.
    static Result<Sound> prepare(const QString &path, int sampleRate);
    // Told on the engine's thread, once a preview has been started, why no sound output
    // opened for it, if none did.
    using Started = std::function<void(std::optional<Error> failure)>;

    // Starts a prepared preview and returns at once: opening the output may wait on the sound
    // server.
    void play(Sound sound, Started started);
    // Silences the preview and lets the output go; returns at once.
    void stop();

private:
    std::shared_ptr<AudioEngine> m_engine;
};

#pragma once

#include "Foundation/Error.h"
#include "Services/Audio/AudioEngine.h"

#include <QString>

#include <memory>

// Plays one studio preview file once through an engine of its own, so a preview never takes a
// voice from typing. Starting a preview stops the one before it.
class StudioPreviewPlayer {
public:
    // `output` null: the machine has no sound output and every preview is refused.
    StudioPreviewPlayer(std::unique_ptr<AudioOutput> output, const Clock &clock);
    ~StudioPreviewPlayer();
    StudioPreviewPlayer(const StudioPreviewPlayer &) = delete;
    StudioPreviewPlayer &operator=(const StudioPreviewPlayer &) = delete;

    // Reads the file, converts it to the output's rate and starts it; refused when the file
    // cannot be read or no sound output opens.
    Result<void> play(const QString &path);
    // Silences the preview at once and lets the output go.
    void stop();

private:
    std::unique_ptr<AudioEngine> m_engine;
};

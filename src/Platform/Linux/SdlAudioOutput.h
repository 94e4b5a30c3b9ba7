#pragma once

#include "Platform/AudioOutput.h"

#include <cstdint>

// An output stream through SDL's audio subsystem. The subsystem stays initialised for the
// object's life, so reopening the device after idle only creates a new stream.
class SdlAudioOutput final : public AudioOutput {
public:
    SdlAudioOutput();
    ~SdlAudioOutput() override;
    SdlAudioOutput(const SdlAudioOutput &) = delete;
    SdlAudioOutput &operator=(const SdlAudioOutput &) = delete;

    int preferredSampleRate() override;
    Result<Format> open(int requestedBufferFrames, AudioRenderer &renderer) override;
    void resume() override;
    void close() override;
    bool isLost() const override;

private:
    bool ensureSubsystem();

    bool m_subsystemReady = false;
    std::uint32_t m_device = 0;
};

#pragma once

#include "Platform/AudioOutput.h"
#include "Platform/TimedOpen.h"

#include <QString>

#include <memory>
#include <optional>

struct PipeWireLibrary;

// A playback stream of the PipeWire graph. The connection to the server stays up for the
// object's life (an idle connection costs nothing), and closing only parks the stream: it
// stays linked to its sink but leaves the graph's cycle, so reopening after idle just sets it
// running again. The renderer runs in PipeWire's realtime data thread, once per graph cycle,
// and the stream asks the graph for a short cycle.
class PipeWireAudioOutput final : public AudioOutput {
public:
    // The cycle asked for when nothing ran dry, in frames at the stream's rate.
    static constexpr int baseLatencyFrames = 256;

    // The cycle to ask the graph for: the shortest cycle plus the margin, to the nearest power
    // of two, because the graph rounds any other request down to one and would pass over the
    // first steps of the margin.
    static int nodeLatencyFrames(int latencyFrames, std::chrono::microseconds margin, int rate);

    // Without a library, PipeWire's own is loaded on first use.
    explicit PipeWireAudioOutput(const PipeWireLibrary *library = nullptr);
    ~PipeWireAudioOutput() override;
    PipeWireAudioOutput(const PipeWireAudioOutput &) = delete;
    PipeWireAudioOutput &operator=(const PipeWireAudioOutput &) = delete;

    // The graph's rate.
    OpenResult<int> preferredSampleRate() override;
    OpenResult<Format> open(int requestedBufferFrames, AudioRenderer &renderer) override;
    void resume() override;
    void close() override;
    bool isLost() const override;
    int underruns() const override;
    bool setMargin(std::chrono::microseconds margin) override;
    void abandonOpens(bool abandoned) override;
    std::optional<SoundServer> server() const override { return SoundServer::pipeWire; }

    struct Impl;

private:
    // Begins an attempt: connected, the server having answered within its time, with the
    // attempt's deadline on the loop's clock for what follows; or why not.
    OpenResult<TimedOpen::Nanoseconds> connect();
    void disconnect();
    void destroyStream();

    std::unique_ptr<Impl> m_impl;
};

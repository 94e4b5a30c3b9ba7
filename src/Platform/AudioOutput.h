#pragma once

#include <QString>

#include <chrono>
#include <cstdint>
#include <expected>
#include <optional>
#include <set>

// Fills output buffers: interleaved float32 stereo frames.
class AudioRenderer {
public:
    virtual ~AudioRenderer() = default;
    // Called on the device's real-time thread: must not block, lock, allocate or free.
    virtual void render(float *interleaved, int frames) noexcept = 0;
    // As render, from frame `from` of the output's timeline (frames since the stream started),
    // again when that stretch was rendered before: sounds handed over since the last call
    // start at `from`, or, without `startWaiting`, keep waiting for a later call. False, with
    // nothing rendered, where the renderer cannot go back there.
    virtual bool renderFrom(std::int64_t from, float *interleaved, int frames, bool startWaiting) noexcept
    {
        return false;
    }
    bool renderFrom(std::int64_t from, float *interleaved, int frames) noexcept
    {
        return renderFrom(from, interleaved, frames, true);
    }
    // Whether sounds were handed over that no render has started yet; on the rendering side.
    virtual bool soundsWaiting() const noexcept { return false; }
    // On the rendering side, before a render: when the listener hears the first frame the next
    // call renders, on the monotonic clock, as the road's timing reports tell. A sound whose
    // first frame would be heard after its deadline is not played.
    virtual void nextRenderHeardAt(std::chrono::nanoseconds monotonic) noexcept {}
};

// Why a road to sound did not open (or could not tell its rate), with one meaning on every road.
enum class OpenFailure {
    // The road cannot run here: its library is missing, or its client or driver could not start.
    unavailable,
    // Nothing listens where the server would.
    noServer,
    // A server is there and refused the connection.
    refused,
    // The server took the connection, or a request, and did not answer in the time allowed.
    silent,
    // The server went away while it was waited on.
    gone,
    // The server answered with a failure: no stream, no link, no device.
    failed,
    // Not tried: its server was found silent earlier in the same attempt.
    avoided,
    // A quit abandoned the wait.
    abandoned,
};

struct OpenError {
    OpenFailure failure = OpenFailure::failed;
    QString message;
};
template <typename T>
using OpenResult = std::expected<T, OpenError>;

// The sound servers a road may reach.
enum class SoundServer { pipeWire, pulseAudio };
using SoundServers = std::set<SoundServer>;

// One stereo float32 output stream of the platform's sound system.
class AudioOutput {
public:
    struct Format {
        int sampleRate = 0;
        int bufferFrames = 0;
    };

    virtual ~AudioOutput() = default;

    // The rate the device runs at by itself, so sounds can be prepared at it ahead of time. It
    // may wait on a sound server, as an open does.
    virtual OpenResult<int> preferredSampleRate() = 0;
    // Opens the device paused, asking for buffers of the given length and taking what it gives.
    virtual OpenResult<Format> open(int requestedBufferFrames, AudioRenderer &renderer) = 0;
    // Starts calling the renderer.
    virtual void resume() = 0;
    // A sound was just handed to the renderer of a resumed stream: an output that keeps sound
    // queued ahead of the server may write it in front of that queue.
    virtual void soundPosted() {}
    // Returns once the renderer is no longer called and will not be called again.
    virtual void close() = 0;
    // True when an open device has gone away (unplugged, sound server restarted).
    virtual bool isLost() const = 0;
    // How often the open stream has run dry (a buffer came too late), where the output can tell.
    virtual int underruns() const { return 0; }
    // Keeps this much more sound queued ahead of the server than the shortest buffer would,
    // from now on. True when the open stream took it, or none is open and the next one will;
    // false when only a new stream can take it.
    virtual bool setMargin(std::chrono::microseconds margin) { return true; }
    // From any thread. While abandoned, an open (or a question for the rate) waiting on a sound
    // server on another thread gives up at once, and new ones fail without waiting, so closing
    // never waits on a server that does not answer.
    virtual void abandonOpens(bool abandoned) {}
    // The one server this output plays through, if it is one alone.
    virtual std::optional<SoundServer> server() const { return std::nullopt; }
    // Servers found silent earlier in the same attempt: opens and questions for the rate do not
    // wait on them again through this output's own library.
    virtual void avoidServers(const SoundServers &silent) {}
};

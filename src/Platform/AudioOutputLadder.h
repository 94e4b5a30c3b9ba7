#pragma once

#include "Platform/AudioOutput.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// One output made of several roads to sound, best first: each open tries the road that played
// last, and from the top when that one fails or was lost, so a sound server that went away
// falls through to the next road and one that comes back is taken again. A server found silent
// on one road is not waited on again through another in the same attempt. The `plinkly.audio`
// log says at once why a road was passed over and which one is tried next, and which road
// started.
class AudioOutputLadder final : public AudioOutput {
public:
    struct Road {
        QString name;
        std::unique_ptr<AudioOutput> output;
    };

    explicit AudioOutputLadder(std::vector<Road> roads);
    ~AudioOutputLadder() override;

    // The rate of the road that played last, else of the first road that can tell one.
    OpenResult<int> preferredSampleRate() override;
    OpenResult<Format> open(int requestedBufferFrames, AudioRenderer &renderer) override;
    void resume() override;
    void soundPosted() override;
    void close() override;
    bool isLost() const override;
    int underruns() const override;
    bool setMargin(std::chrono::microseconds margin) override;
    void abandonOpens(bool abandoned) override;

    // The road of the open stream, or of the last one.
    std::optional<QString> road() const;

private:
    // Tries `step` on each road in turn, the last one to play first unless it was lost, until
    // one succeeds; yields its index and result, or every road's reason joined.
    template <typename T>
    OpenResult<std::pair<std::size_t, T>> tryRoads(const char *asking, const std::function<OpenResult<T>(AudioOutput &)> &step);

    std::vector<Road> m_roads;
    // The road tried first (the one that played or told the rate last), and the one that played.
    std::optional<std::size_t> m_last;
    std::optional<std::size_t> m_played;
    bool m_open = false;
    bool m_lastWasLost = false;
    std::chrono::microseconds m_margin{0};
    std::atomic<bool> m_abandoned{false};
};

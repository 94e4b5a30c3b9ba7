#pragma once

#include "Platform/AudioOutput.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// An output device the test drives by hand: render() pulls buffers through the same mixing
// code the real device's callback runs. The test keeps the shared state; the engine owns
// the output.
class FakeAudioOutput final : public AudioOutput {
public:
    struct State {
        int sampleRate = 48000;
        int bufferFrames = 128;
        std::atomic<bool> available{true};
        std::atomic<bool> lost{false};
        std::atomic<int> opens{0};
        // Every open tried, whether it opened or not, and every question for the rate.
        std::atomic<int> attempts{0};
        std::atomic<int> rateQuestions{0};
        std::atomic<int> closes{0};
        // The length the last open asked for; it is granted, but never below bufferFrames.
        std::atomic<int> requestedFrames{0};
        std::atomic<int> underruns{0};
        std::atomic<bool> playing{false};
        // Sounds posted to the resumed stream, as the engine told it.
        std::atomic<int> posted{0};
        // The margin last given, and whether an open stream takes a new one while it plays.
        std::atomic<std::chrono::microseconds> margin{std::chrono::microseconds(0)};
        std::atomic<std::chrono::microseconds> openedMargin{std::chrono::microseconds(0)};
        bool marginWhilePlaying = false;
        std::atomic<AudioRenderer *> renderer{nullptr};
        // Run on the engine's queue at each open and each question for the rate, so a test can
        // hold the queue there as a slow sound server would.
        std::function<void()> beforeOpen;
        std::function<void()> beforeRate;
        // A server that takes the connection and never answers: an open or a question for the
        // rate waits until it is abandoned, as a real road waits out its time, and then fails.
        std::atomic<bool> hangs{false};
        // How many waits on the silent server have begun, and how many ended abandoned.
        std::atomic<int> hungWaits{0};
        std::atomic<int> abandonedWaits{0};
        std::atomic<bool> abandoned{false};
        // A server that gave no answer in its time: opens and questions fail as silent.
        std::atomic<bool> silent{false};
        // The server the road plays through, and the servers it was last told to avoid.
        std::optional<SoundServer> server;
        SoundServers avoided;

        void abandon(bool value)
        {
            {
                std::lock_guard lock(mutex);
                abandoned = value;
            }
            changed.notify_all();
        }
        // Why the server did not answer, if it did not: abandoned, or silent (a hung wait gives up
        // after 5 s, as a road gives up after its time, so an engine that does not abandon fails
        // its test rather than hanging).
        std::optional<OpenError> silence()
        {
            const OpenError abandonedError{OpenFailure::abandoned, QStringLiteral("abandoned")};
            if (abandoned)
                return abandonedError;
            if (silent)
                return OpenError{OpenFailure::silent, QStringLiteral("no answer")};
            if (!hangs)
                return std::nullopt;
            std::unique_lock lock(mutex);
            ++hungWaits;
            changed.notify_all();
            if (changed.wait_for(lock, std::chrono::seconds(5), [this] { return abandoned.load(); })) {
                ++abandonedWaits;
                return abandonedError;
            }
            return OpenError{OpenFailure::silent, QStringLiteral("no answer")};
        }
        // Until `count` waits on the silent server have begun.
        void awaitHungWaits(int count)
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return hungWaits >= count; });
        }
        std::mutex mutex;
        std::condition_variable changed;

        // One buffer of interleaved stereo frames; silence while the device is closed or paused.
        std::vector<float> render(int frames)
        {
            std::vector<float> buffer(std::size_t(frames) * 2, 0.0f);
            if (AudioRenderer *target = renderer.load(); target && playing)
                target->render(buffer.data(), frames);
            return buffer;
        }
    };

    explicit FakeAudioOutput(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    OpenResult<int> preferredSampleRate() override
    {
        ++m_state->rateQuestions;
        if (m_state->beforeRate)
            m_state->beforeRate();
        if (const auto silent = m_state->silence())
            return std::unexpected(*silent);
        if (!m_state->available)
            return std::unexpected(OpenError{OpenFailure::noServer, QStringLiteral("no device")});
        return m_state->sampleRate;
    }
    OpenResult<Format> open(int requestedFrames, AudioRenderer &renderer) override
    {
        ++m_state->attempts;
        if (m_state->beforeOpen)
            m_state->beforeOpen();
        if (const auto silent = m_state->silence())
            return std::unexpected(*silent);
        if (!m_state->available)
            return std::unexpected(OpenError{OpenFailure::noServer, QStringLiteral("no device")});
        ++m_state->opens;
        m_state->lost = false;
        m_state->underruns = 0;
        m_state->requestedFrames = requestedFrames;
        m_state->renderer = &renderer;
        m_state->openedMargin = m_state->margin.load();
        m_open = true;
        return Format{m_state->sampleRate, std::max(requestedFrames, m_state->bufferFrames)};
    }
    void resume() override { m_state->playing = true; }
    void soundPosted() override
    {
        if (m_state->playing)
            ++m_state->posted;
    }
    void close() override
    {
        ++m_state->closes;
        m_state->playing = false;
        m_state->renderer = nullptr;
        m_open = false;
    }
    bool isLost() const override { return m_state->lost; }
    int underruns() const override { return m_state->underruns; }
    void abandonOpens(bool abandoned) override { m_state->abandon(abandoned); }
    std::optional<SoundServer> server() const override { return m_state->server; }
    void avoidServers(const SoundServers &silent) override { m_state->avoided = silent; }
    bool setMargin(std::chrono::microseconds margin) override
    {
        m_state->margin = margin;
        return !m_open || m_state->marginWhilePlaying;
    }

private:
    std::shared_ptr<State> m_state;
    bool m_open = false;
};

#pragma once

#include "Foundation/SerialQueue.h"
#include "Platform/AudioOutput.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>

// How every road to sound waits on its server. An open, or a question for the rate, is one
// attempt with one deadline, `allowed` after it began on the road's own clock: each step of it
// that can wait on the server (the library's start, the connection, the first answer, the
// rate, the stream, the link) waits within that time, and a server that has not answered by
// then is given up as silent, so the next road can take over. Abandoned from another thread,
// a wait ends at once and new ones fail without waiting, so a quit never waits on a server.
class TimedOpen {
public:
    using Nanoseconds = std::chrono::nanoseconds;

    // Long enough for a busy session manager to link a new stream, short enough that a server
    // that does not answer holds the sound back only briefly before the next road is tried.
    static constexpr std::chrono::seconds allowed{2};

    // From any thread; the road then wakes the wait it may have under way.
    void abandon(bool abandoned) { m_abandoned.store(abandoned, std::memory_order_release); }
    bool isAbandoned() const { return m_abandoned.load(std::memory_order_acquire); }

    // The deadline of an attempt that begins at `now`.
    static Nanoseconds deadlineFrom(Nanoseconds now) { return now + allowed; }

    // Waits until `done()` holds: nothing then, else why not. `sleepUntil(deadline)` is the
    // road's own wait for news from its server (with its lock let go), false once the deadline
    // has passed; `gone()` says the server went away.
    template <typename Done, typename Gone, typename SleepUntil>
    std::optional<OpenFailure> wait(Nanoseconds deadline, Done done, Gone gone, SleepUntil sleepUntil) const
    {
        for (;;) {
            if (done())
                return std::nullopt;
            if (isAbandoned())
                return OpenFailure::abandoned;
            if (gone())
                return OpenFailure::gone;
            if (!sleepUntil(deadline))
                return done() ? std::nullopt : std::optional(OpenFailure::silent);
        }
    }

    // The failure as the log and the engine's error tell it, of `party` ("the PulseAudio
    // server", "SDL's alsa driver"); `detail` is its own word, where it gave one.
    static OpenError error(OpenFailure failure, const QString &party, const QString &detail = {});

    // Runs `task` on the queue that drives `output` (if any) and waits for it, with every open
    // of the output abandoned until then, so the wait is never a wait on a sound server.
    static void syncAbandoningOpens(SerialQueue &queue, AudioOutput *output, const std::function<void()> &task);

private:
    std::atomic<bool> m_abandoned{false};
};

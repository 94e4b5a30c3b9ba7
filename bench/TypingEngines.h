#pragma once

// The app's three sound engines as the keyboard benchmarks need them: typing through the
// output under test, mouse and reactions silent, and the router over them.

#include "Services/Audio/AudioEngine.h"
#include "Services/Audio/SoundRouter.h"

#include <chrono>
#include <memory>

struct TypingEngines {
    TypingEngines(std::unique_ptr<AudioOutput> output, const Clock &clock)
        : typing(12, std::chrono::milliseconds(2000), std::move(output), clock)
        , mouse(8, std::chrono::milliseconds(2000), nullptr, clock)
        , reaction(1, std::chrono::milliseconds(2000), nullptr, clock)
        , router(typing, mouse, reaction)
    {
    }

    AudioEngine typing;
    AudioEngine mouse;
    AudioEngine reaction;
    SoundRouter router;
};

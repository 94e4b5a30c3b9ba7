#pragma once

#include "Platform/DesktopIconLocator.h"

#include <utility>
#include <vector>

// Icon frames the test sets, answered at once or, while `deferred`, when the test says.
class FakeDesktopIconLocator final : public DesktopIconLocator {
public:
    void findPositions(std::function<void(Positions)> answer) override
    {
        ++lookups;
        if (deferred)
            pending.push_back(std::move(answer));
        else
            answer(m_frames);
    }
    void answerPending()
    {
        for (auto &answer : std::exchange(pending, {}))
            answer(m_frames);
    }
    void setFrames(Positions frames) { m_frames = std::move(frames); }

    bool deferred = false;
    int lookups = 0;
    std::vector<std::function<void(Positions)>> pending;

private:
    Positions m_frames;
};

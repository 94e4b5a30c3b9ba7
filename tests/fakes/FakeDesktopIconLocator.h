#pragma once

#include "Platform/DesktopIconLocator.h"

#include <utility>
#include <vector>

// Icon frames and how far a look gets, both set by the test, answered at once or, while `deferred`, when the test says.
class FakeDesktopIconLocator final : public DesktopIconLocator {
public:
    void findPositions(std::function<void(Sight)> answer) override
    {
        ++lookups;
        if (deferred)
            pending.push_back(std::move(answer));
        else
            answer({look, m_frames});
    }
    void answerPending()
    {
        for (auto &answer : std::exchange(pending, {}))
            answer({look, m_frames});
    }
    void setFrames(Positions frames) { m_frames = std::move(frames); }

    bool deferred = false;
    // How far each look gets.
    Sight::Look look = Sight::Look::finished;
    int lookups = 0;
    std::vector<std::function<void(Sight)>> pending;

private:
    Positions m_frames;
};

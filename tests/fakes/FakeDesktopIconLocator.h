#pragma once

#include "Platform/DesktopIconLocator.h"

#include <utility>
#include <vector>

// Icon frames the test sets, answered at once or, while `deferred`, when the test says.
class FakeDesktopIconLocator final : public DesktopIconLocator {
public:
    void findPositions(std::function<void(Positions)> answer) override
    {
        if (deferred)
            pending.push_back(std::move(answer));
        else
            answer(frames);
    }
    void answerPending()
    {
        for (auto &answer : std::exchange(pending, {}))
            answer(frames);
    }
    QHash<QString, QRectF> frames;
    bool deferred = false;
    std::vector<std::function<void(Positions)>> pending;
};

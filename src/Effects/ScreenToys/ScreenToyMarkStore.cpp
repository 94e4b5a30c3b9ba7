#include "Effects/ScreenToys/ScreenToyMarkStore.h"

#include <algorithm>

void ScreenToyMarkStore::record(ScreenToyMark mark)
{
    expire(mark.time);
    marks.push_back(std::move(mark));
    const auto excess = std::ssize(marks) - std::max(maximumCount, 0);
    if (excess > 0)
        marks.erase(marks.begin(), marks.begin() + excess);
}

void ScreenToyMarkStore::expire(double time)
{
    std::erase_if(marks, [&](const ScreenToyMark &mark) { return time - mark.time >= lifetime; });
}

#pragma once

#include "Platform/DesktopIconLocator.h"

#include <QObject>

// Reads the desktop file manager's icon frames through AT-SPI2 on the accessibility bus, on a
// worker thread: the walk asks another program once per object. Without the bus, or without
// a desktop file manager on it, it finds nothing.
class AtspiDesktopIconLocator final : public DesktopIconLocator {
public:
    void findPositions(std::function<void(Sight)> answer) override;

private:
    // Answers arrive through it, so none arrives once the locator is gone; a walk still running
    // then holds nothing of ours and ends at its time limit.
    QObject m_answers;
};

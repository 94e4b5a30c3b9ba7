#pragma once

#include <QHash>
#include <QRectF>
#include <QString>

#include <functional>

// Where the desktop's file manager draws its icons, by icon title. Frames are global
// coordinates with the origin at the primary screen's top-left corner and y growing downwards.
class DesktopIconLocator {
public:
    using Positions = QHash<QString, QRectF>;
    virtual ~DesktopIconLocator() = default;
    // Asks without waiting: `answer` runs on the GUI thread once the frames are known, possibly
    // before this returns when they need no asking. Empty when the desktop shows no icons or
    // cannot be asked; never fails. Not called once the locator is gone.
    virtual void findPositions(std::function<void(Positions)> answer) = 0;
};

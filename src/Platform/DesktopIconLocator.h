#pragma once

#include <QHash>
#include <QRectF>
#include <QString>

// Where the desktop's file manager draws its icons, by icon title. Frames are global
// coordinates with the origin at the primary screen's top-left corner and y growing downwards.
class DesktopIconLocator {
public:
    virtual ~DesktopIconLocator() = default;
    // Empty when the desktop shows no icons or cannot be asked; never fails.
    virtual QHash<QString, QRectF> positions() = 0;
};

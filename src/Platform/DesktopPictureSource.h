#pragma once

#include <QString>

// The picture the desktop shows behind its icons.
class DesktopPictureSource {
public:
    virtual ~DesktopPictureSource() = default;
    // The picture's file, or empty when the desktop does not say where it is. May ask other
    // programs: called off the interface thread.
    virtual QString pictureFile() const = 0;
};

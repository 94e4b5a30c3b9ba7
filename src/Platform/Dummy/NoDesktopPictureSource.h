#pragma once

#include "Platform/DesktopPictureSource.h"

// A desktop that does not say which picture it shows.
class NoDesktopPictureSource final : public DesktopPictureSource {
public:
    QString pictureFile() const override { return {}; }
};

#pragma once

#include "Platform/DesktopPictureSource.h"

// A desktop picture the test names.
class FakeDesktopPictureSource final : public DesktopPictureSource {
public:
    QString pictureFile() const override { return file; }
    QString file;
};

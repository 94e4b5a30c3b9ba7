#pragma once

#include "Platform/DesktopIconLocator.h"

// Icon frames the test sets.
class FakeDesktopIconLocator final : public DesktopIconLocator {
public:
    QHash<QString, QRectF> positions() override { return frames; }
    QHash<QString, QRectF> frames;
};

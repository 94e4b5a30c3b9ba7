#pragma once

#include "Platform/DesktopIconLocator.h"

// A desktop whose icon places cannot be read; copies start in their default layout.
class NoDesktopIconLocator final : public DesktopIconLocator {
public:
    QHash<QString, QRectF> positions() override { return {}; }
};

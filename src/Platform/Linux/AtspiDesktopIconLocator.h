#pragma once

#include "Platform/DesktopIconLocator.h"

// Reads the desktop file manager's icon frames through AT-SPI2 on the accessibility bus.
// Without the bus, or without a desktop file manager on it, it finds nothing.
class AtspiDesktopIconLocator final : public DesktopIconLocator {
public:
    QHash<QString, QRectF> positions() override;
};

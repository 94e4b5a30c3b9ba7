#pragma once

#include <QPointF>
#include <QRectF>

#include <optional>
#include <vector>

// One display as the pet sees it, in global coordinates with y growing upwards: its whole
// frame and the part not covered by panels and docks.
struct PetScreen {
    QRectF frame;
    QRectF visibleFrame;
};

// The displays and the pointer, in the same y-up coordinates.
class PetDesktop {
public:
    virtual ~PetDesktop() = default;
    virtual std::vector<PetScreen> screens() const = 0;
    // The main display, else the first; none without displays.
    virtual std::optional<PetScreen> mainScreen() const = 0;
    virtual QPointF pointer() const = 0;
};

#pragma once

#include "Effects/Pet/PetAction.h"

#include <QRectF>
#include <QSizeF>

#include <functional>
#include <memory>

class PetPresentation;

// The window that hosts the pet, its frame in global y-up coordinates.
class PetPanel {
public:
    virtual ~PetPanel() = default;
    virtual QRectF frame() const = 0;
    virtual void setFrame(const QRectF &frame) = 0;
    virtual void orderFront() = 0;
    virtual void orderOut() = 0;
};

// What the pet's view reports: a menu command, a drag's translation since it began (y down)
// and the drag's end.
struct PetPanelCallbacks {
    std::function<void(PetAction)> onAction;
    std::function<void(QSizeF translation)> onDragChanged;
    std::function<void()> onDragEnded;
};

using PetPanelFactory = std::function<std::unique_ptr<PetPanel>(PetPresentation &, PetPanelCallbacks)>;

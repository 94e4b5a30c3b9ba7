#pragma once

#include "Effects/Pet/PetDesktop.h"
#include "Effects/Pet/PetPanel.h"

// Displays and a pointer the test sets by hand; the first display is the main one.
class FakePetDesktop final : public PetDesktop {
public:
    std::vector<PetScreen> screens() const override { return displays; }
    std::optional<PetScreen> mainScreen() const override
    {
        if (displays.empty())
            return std::nullopt;
        return displays.front();
    }
    QPointF pointer() const override { return pointerAt; }

    std::vector<PetScreen> displays;
    QPointF pointerAt;
};

// A panel that only remembers its frame and whether it is on screen. Like a real window it
// sits on whole pixels.
class FakePetPanel final : public PetPanel {
public:
    explicit FakePetPanel(PetPanelCallbacks callbacks) : callbacks(std::move(callbacks)) {}

    QRectF frame() const override { return rect; }
    void setFrame(const QRectF &frame) override { rect = QRectF(frame.toRect()); }
    void orderFront() override { onScreen = true; }
    void orderOut() override { onScreen = false; }

    PetPanelCallbacks callbacks;
    QRectF rect{0, 0, 170, 122};
    bool onScreen = false;
};

#pragma once

#include "Effects/Overlays/OverlayPanel.h"

// A quick white flash over one whole screen.
class ScreenshotFlashView final : public OverlayPanel {
    Q_OBJECT

public:
    static constexpr double lifetimeSeconds = 0.42;

    explicit ScreenshotFlashView(Blending blending, QWidget *parent = nullptr);

protected:
    void paintFrame(QPainter &painter, double elapsedSeconds) override;
    bool animates(double elapsedSeconds) const override { return elapsedSeconds < lifetimeSeconds; }
};

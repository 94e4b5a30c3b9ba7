#pragma once

#include "Effects/Overlays/OverlayPanel.h"

class LidMotionPresentation;

// A screen-wide band along the bottom of the built-in display that moves with the lid.
// It fades in and out as the presentation's visibility changes.
class LidMotionView final : public OverlayPanel {
    Q_OBJECT

public:
    static constexpr double fadeSeconds = 0.35;
    // The share of the screen's height the band covers.
    static constexpr double bandShare = 0.34;

    LidMotionView(const LidMotionPresentation &presentation, Blending blending, QWidget *parent = nullptr);

    // Whether the view has faded out completely.
    bool isFadedOut() const;

protected:
    void paintFrame(QPainter &painter, double elapsedSeconds) override;
    bool animates(double elapsedSeconds) const override;

private:
    void presentationChanged();
    double visibility(double elapsedSeconds) const;

    const LidMotionPresentation &m_presentation;
    bool m_target = false;
    double m_fadeFrom = 0;
    double m_fadeStartedAt = 0;
};

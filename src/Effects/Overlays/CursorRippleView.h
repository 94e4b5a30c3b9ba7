#pragma once

#include "Effects/CursorRippleStyle.h"
#include "Effects/Overlays/OverlayPanel.h"

// One click effect around the panel's centre, over in lifetimeSeconds.
class CursorRippleView final : public OverlayPanel {
    Q_OBJECT

public:
    static constexpr double lifetimeSeconds = 0.62;
    static constexpr int sidePoints = 120;

    CursorRippleView(CursorRippleStyle style, Blending blending, QWidget *parent = nullptr);

    CursorRippleStyle style() const { return m_style; }

protected:
    void paintFrame(QPainter &painter, double elapsedSeconds) override;
    bool animates(double elapsedSeconds) const override { return elapsedSeconds < lifetimeSeconds; }

private:
    CursorRippleStyle m_style;
};

#include "Effects/LidMotionPresentation.h"

#include <algorithm>
#include <cmath>

void LidMotionPresentation::update(double progress, std::optional<double> angle, LidDanceStyle style, bool visible)
{
    const double clamped = std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : 0.0;
    if (angle && !std::isfinite(*angle))
        angle.reset();
    if (clamped == m_progress && angle == m_angle && style == m_style && visible == m_visible)
        return;
    m_progress = clamped;
    m_angle = angle;
    m_style = style;
    m_visible = visible;
    emit changed();
}

#pragma once

#include "Effects/LidDanceStyle.h"

#include <QObject>

#include <optional>

// What the lid motion view shows: how far the lid has travelled, its angle, the look, and
// whether the view should be on screen at all.
class LidMotionPresentation final : public QObject {
    Q_OBJECT
    Q_PROPERTY(double progress READ progress NOTIFY changed)
    Q_PROPERTY(bool visible READ isVisible NOTIFY changed)

public:
    using QObject::QObject;

    double progress() const { return m_progress; }
    std::optional<double> angle() const { return m_angle; }
    LidDanceStyle style() const { return m_style; }
    bool isVisible() const { return m_visible; }

    // Progress is kept within 0...1; a value that is not a number counts as 0.
    void update(double progress, std::optional<double> angle, LidDanceStyle style, bool visible);

signals:
    void changed();

private:
    double m_progress = 0;
    std::optional<double> m_angle;
    LidDanceStyle m_style = LidDanceStyle::tide;
    bool m_visible = false;
};

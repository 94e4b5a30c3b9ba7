#pragma once

#include "Effects/ScreenToys/ScreenToyKind.h"
#include "Effects/ScreenToys/ScreenToyShot.h"

#include <QPointF>

#include <optional>

// One trace on the glass: an impact of a shot, or where the whip's tip cracked (no shot).
struct ScreenToyMark {
    ScreenToyKind kind = ScreenToyKind::blaster;
    QPointF point;
    double time = 0;
    std::optional<ScreenToyShot> shot;
};

#pragma once

#include "Effects/ScreenToys/ScreenToyGrenade.h"
#include "Effects/ScreenToys/ScreenToyHandTone.h"
#include "Effects/ScreenToys/ScreenToyMark.h"
#include "Effects/ScreenToys/ScreenToyWetPatch.h"

#include <QPointF>

#include <optional>
#include <vector>

// What a canvas shows at one moment: copies of the controller's models, in global
// coordinates (y up), so drawing never sees a half-updated model.
struct ScreenToyScene {
    ScreenToyKind toy = ScreenToyKind::blaster;
    std::optional<QPointF> pointer;
    std::vector<ScreenToyMark> marks;
    std::vector<ScreenToyWetPatch> wetPatches;
    std::vector<ScreenToyGrenade> grenades;
    double displayTime = 0;
    bool reduceMotion = false;
    ScreenToyHandTone handTone = ScreenToyHandTone::original;
    std::vector<QPointF> whipPoints;
};

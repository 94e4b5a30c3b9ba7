#pragma once

#include "Views/Kit/KitStyle.h"

#include <QString>

#include <optional>

// What the control window's two header pills say.
namespace HeaderPills {

struct Pill {
    QString text;
    QString symbol;
    ColorRole color;
    bool operator==(const Pill &) const = default;
};

Pill effects(bool effectsPaused);
// `focusRemainingSeconds` is set while a focus session runs; its time wins over the
// capture state and is shown as minutes:seconds, minutes never folded into hours. A running
// global monitor is named by its capture mode, as the Privacy page names it.
Pill input(std::optional<double> focusRemainingSeconds, bool monitorActive, const QString &captureMode);

}

#pragma once

#include <QString>

// The screen toys' six recordings, 48 kHz mono: shots, the whip's crack, the water gun, the
// grenade's blast and its throw.
namespace ScreenToySounds {
bool generate(const QString &folder);
}

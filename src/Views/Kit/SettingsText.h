#pragma once

#include <QString>

#include <optional>

// The texts the settings widgets and pages show for numbers. Every function is pure; a value
// that is not finite or too large for an integer reads as `missingValue()`.
namespace SettingsText {

// The placeholder for a number that cannot be shown.
QString missingValue();

// `value` truncated toward zero, or nothing when it is not finite or does not fit 64 bits.
std::optional<qint64> wholeNumber(double value);

struct VolumeReadout {
    QString text;
    bool boost = false; // above 100 %: drawn in orange
};
// "72%", "180%  BOOST"; 1.0 means 100 % and the percent is truncated, never rounded.
VolumeReadout volumeReadout(double value);
// "75%": the percent truncated, with no boost marking.
QString percent(double value);

// The volume step buttons: 0.05 down to at least 0, 0.05 up to at most 1.5, from the
// current value (never snapped to a grid).
double volumeStepDown(double value);
double volumeStepUp(double value);

// A slider readout: "%.2f" immediately followed by the suffix.
QString sliderReadout(double value, const QString &suffix);

// A countdown "%02d:%02d" of minutes and seconds; minutes are never folded into hours
// (3725 s read 62:05).
QString countdown(double seconds);

// "<1m", "2m", "1h 5m"; seconds below a full minute are dropped.
QString formatDuration(qint64 seconds);
QString formatDuration(double seconds);

// The symbol shown for a pack, chosen from fragments of its identifier.
QString packIcon(const QString &packID);

}

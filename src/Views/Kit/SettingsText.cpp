#include "Views/Kit/SettingsText.h"

#include <algorithm>
#include <array>
#include <cmath>

QString SettingsText::missingValue()
{
    return QStringLiteral("—");
}

std::optional<qint64> SettingsText::wholeNumber(double value)
{
    // 2^63 itself does not fit; every double below it does.
    constexpr double limit = 9223372036854775808.0;
    if (!std::isfinite(value) || value >= limit || value < -limit)
        return std::nullopt;
    return qint64(std::trunc(value));
}

SettingsText::VolumeReadout SettingsText::volumeReadout(double value)
{
    const std::optional<qint64> percent = wholeNumber(value * 100);
    if (!percent)
        return {missingValue(), false};
    if (value > 1.0)
        return {QString::number(*percent) + QStringLiteral("%  BOOST"), true};
    return {QString::number(*percent) + QLatin1Char('%'), false};
}

QString SettingsText::percent(double value)
{
    const std::optional<qint64> whole = wholeNumber(value * 100);
    return whole ? QString::number(*whole) + QLatin1Char('%') : missingValue();
}

double SettingsText::volumeStepDown(double value)
{
    return std::max(value - 0.05, 0.0);
}

double SettingsText::volumeStepUp(double value)
{
    return std::min(value + 0.05, 1.5);
}

QString SettingsText::sliderReadout(double value, const QString &suffix)
{
    if (!std::isfinite(value))
        return missingValue();
    return QString::asprintf("%.2f", value) + suffix;
}

QString SettingsText::countdown(double seconds)
{
    const std::optional<qint64> whole = wholeNumber(seconds);
    if (!whole)
        return missingValue();
    return QString::asprintf("%02lld:%02lld", *whole / 60, *whole % 60);
}

QString SettingsText::formatDuration(qint64 seconds)
{
    if (seconds < 60)
        return QStringLiteral("<1m");
    if (seconds >= 3600)
        return QStringLiteral("%1h %2m").arg(seconds / 3600).arg((seconds / 60) % 60);
    return QStringLiteral("%1m").arg(seconds / 60);
}

QString SettingsText::formatDuration(double seconds)
{
    const std::optional<qint64> whole = wholeNumber(seconds);
    return whole ? formatDuration(*whole) : missingValue();
}

QString SettingsText::packIcon(const QString &packID)
{
    struct Rule {
        std::array<const char *, 3> fragments;
        const char *symbol;
    };
    static constexpr std::array rules{
        Rule{{"dog"}, "dog.fill"},
        Rule{{"fart"}, "wind"},
        Rule{{"feminine"}, "sparkles"},
        Rule{{"dude"}, "person.wave.2.fill"},
        Rule{{"ouch"}, "bolt.heart.fill"},
        Rule{{"buckling"}, "typewriter"},
        Rule{{"boxnavy", "bluealps", "clicky"}, "burst.fill"},
        Rule{{"topre", "alpaca"}, "cloud.fill"},
        Rule{{"panda", "thock"}, "waveform"},
    };
    for (const Rule &rule : rules) {
        for (const char *fragment : rule.fragments) {
            if (fragment && packID.contains(QLatin1String(fragment)))
                return QLatin1String(rule.symbol);
        }
    }
    return QStringLiteral("keyboard.fill");
}

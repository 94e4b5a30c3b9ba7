#include "Views/Pages/TypingActivity.h"

#include "Effects/Pet/BloopyProgress.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

QString TypingActivity::count(std::uint64_t value, const QString &noun)
{
    return QLocale().toString(qulonglong(value)) + u' ' + noun;
}

QString TypingActivity::wordsPerMinute(int keysPerMinute)
{
    return QString::asprintf("%lld wpm", static_cast<long long>(std::lround(keysPerMinute / 5.0)));
}

TypingActivity::LevelProgress TypingActivity::levelProgress(std::uint64_t keys)
{
    const std::uint64_t threshold = BloopyProgress::nextThreshold(keys);
    const std::uint64_t reached = std::min(keys, threshold);
    // The bar's total is at least one; the fraction is worked out in doubles since the count
    // is a 64-bit number.
    const double fraction = double(keys) / std::max(double(threshold), 1.0);
    return {int(std::clamp(fraction, 0.0, 1.0) * 1000.0), threshold - reached};
}

QString TypingActivity::remainingText(std::uint64_t remaining)
{
    return QString::asprintf("%llu", static_cast<unsigned long long>(remaining))
        + QStringLiteral(" keys to Bloopy’s next level. Totals stay on this computer.");
}

#include "Effects/Pet/BloopyProgress.h"

#include <QTextBoundaryFinder>

namespace BloopyProgress {
namespace {
constexpr qsizetype maximumNameCharacters = 20;
constexpr std::uint64_t lastLevelStep = 100;

constexpr std::uint64_t threshold(std::uint64_t step)
{
    return 50 * step * (step - 1);
}

// The level step n at which the walk over T(n) stops for this count.
std::uint64_t stepFor(std::uint64_t keystrokes)
{
    std::uint64_t step = 2;
    while (step < lastLevelStep && threshold(step) <= keystrokes)
        ++step;
    return step;
}
}

QString truncatedName(QStringView rawName)
{
    const QString text = rawName.toString();
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype count = 0; count < maximumNameCharacters; ++count) {
        const qsizetype next = graphemes.toNextBoundary();
        if (next < 0)
            break;
        end = next;
    }
    return text.left(end);
}

QString normalizedName(QStringView rawName)
{
    const QString name = truncatedName(rawName.trimmed());
    return name.isEmpty() ? QStringLiteral("Bloopy") : name;
}

std::uint64_t nextThreshold(std::uint64_t keystrokes)
{
    return threshold(stepFor(keystrokes));
}

int level(std::uint64_t keystrokes)
{
    return int(stepFor(keystrokes) - 1);
}
}

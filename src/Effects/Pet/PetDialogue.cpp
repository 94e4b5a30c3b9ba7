#include "Effects/Pet/PetDialogue.h"

#include <vector>

namespace PetDialogue {
namespace {
QString toQString(std::u16string_view line)
{
    return QString::fromUtf16(line.data(), qsizetype(line.size()));
}
}

QString nextPepTalk(QStringView avoiding, QRandomGenerator &random)
{
    std::vector<std::u16string_view> candidates;
    candidates.reserve(pepTalks.size());
    for (const auto line : pepTalks) {
        if (QStringView(line) != avoiding)
            candidates.push_back(line);
    }
    if (candidates.empty())
        return toQString(pepTalks.front());
    return toQString(candidates[random.bounded(quint32(candidates.size()))]);
}
}

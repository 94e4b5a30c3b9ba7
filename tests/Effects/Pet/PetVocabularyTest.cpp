#include "Effects/Pet/PetAction.h"
#include "Effects/Pet/PetDialogue.h"
#include "Effects/Pet/PetMenuCategory.h"
#include "Effects/Pet/PetMood.h"

#include <gtest/gtest.h>

#include <set>
#include <span>

namespace {
template <RawEnumeration E>
std::vector<QString> rawValues()
{
    std::vector<QString> values;
    for (const E value : allCases<E>())
        values.push_back(rawValue(value));
    return values;
}

std::vector<QString> strings(std::initializer_list<const char *> raw)
{
    std::vector<QString> values;
    for (const char *text : raw)
        values.push_back(QString::fromUtf8(text));
    return values;
}
}

TEST(PetVocabulary, CasesAndRawValuesInOrder)
{
    EXPECT_EQ(rawValues<PetMood>(),
              strings({"idle", "bored", "sleeping", "stretching", "focused", "suspicious", "celebrating"}));
    EXPECT_EQ(rawValues<PetMenuCategory>(), strings({"Focus", "Sounds", "Effects", "Bloopy"}));
    EXPECT_EQ(rawValues<PetAction>(),
              strings({"focus25", "focus50", "break5", "pepTalk", "configureFocus", "openFocus", "openSounds",
                       "openReactions", "chaos", "togglePause", "openSettings", "stopFocus", "toggleTyping",
                       "toggleTapSounds", "previewKeyboard", "desktopGravity", "previewScreenshot",
                       "previewCharge", "hide", "toggleStayPut"}));
}

TEST(PetVocabulary, RawValuesAreCaseSensitive)
{
    EXPECT_EQ(fromRaw<PetAction>(u"hide"), PetAction::hide);
    EXPECT_FALSE(fromRaw<PetAction>(u"Hide"));
    EXPECT_FALSE(fromRaw<PetMood>(u"Idle"));
    EXPECT_FALSE(fromRaw<PetMenuCategory>(u"focus"));
    EXPECT_EQ(fromRaw<PetMenuCategory>(u"Bloopy"), PetMenuCategory::bloopy);
}

TEST(PetDialogue, LinesUseTypographicPunctuation)
{
    const std::vector<std::span<const std::u16string_view>> tables{PetDialogue::pepTalks, PetDialogue::tapLines,
                                                                   PetDialogue::nudgeLines, PetDialogue::dragLines};
    for (const auto table : tables) {
        for (const auto line : table) {
            const QString text = QString::fromUtf16(line.data(), qsizetype(line.size()));
            EXPECT_FALSE(text.contains(u'\'')) << text.toStdString();
            EXPECT_FALSE(text.contains(u"--")) << text.toStdString();
            EXPECT_FALSE(text.isEmpty());
        }
    }
    EXPECT_EQ(PetDialogue::pepTalks[1], u"One task, one tab. You\u2019ve got this.");
    EXPECT_EQ(PetDialogue::pepTalks[8], u"Look how far you\u2019ve already paddled \U0001F42C");
    EXPECT_EQ(PetDialogue::tapLines[1], u"You found me \U0001F42C");
    EXPECT_EQ(PetDialogue::nudgeLines[2], u"I see that cursor \U0001F440");
    EXPECT_EQ(PetDialogue::nudgeLines[12], u"Oh\u2014we\u2019re playing now?");
    EXPECT_EQ(PetDialogue::dragLines[0], u"Wheee\u2014new spot!");
    EXPECT_EQ(PetDialogue::dragLines[4], u"I\u2019ve been relocated!");
}

TEST(PetDialogue, NextPepTalkNeverRepeatsTheCurrentLine)
{
    QRandomGenerator random(7);
    for (const auto line : PetDialogue::pepTalks) {
        const QString current = QString::fromUtf16(line.data(), qsizetype(line.size()));
        std::set<QString> seen;
        for (int draw = 0; draw < 400; ++draw) {
            const QString next = PetDialogue::nextPepTalk(current, random);
            ASSERT_NE(next, current);
            seen.insert(next);
        }
        EXPECT_EQ(seen.size(), 19u) << "every other line is a candidate";
    }
    std::set<QString> seen;
    for (int draw = 0; draw < 600; ++draw)
        seen.insert(PetDialogue::nextPepTalk(u"not a pep talk", random));
    EXPECT_EQ(seen.size(), 20u);
}

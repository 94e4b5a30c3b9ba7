#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QStringView>

#include <array>
#include <string_view>

// The pet's fixed lines. The reaction tables are indexed by the shared nudge counter modulo
// their length.
namespace PetDialogue {
inline constexpr std::array<std::u16string_view, 20> pepTalks{
    u"Start tiny. Momentum does the heavy lifting.",
    u"One task, one tab. You’ve got this.",
    u"Messy progress still counts as progress.",
    u"Do five minutes. Then decide what’s next.",
    u"The first step can be embarrassingly small.",
    u"You don’t need perfect. You need started.",
    u"Breathe. Pick the next useful thing.",
    u"Future you is cheering for this little step.",
    u"Look how far you’ve already paddled 🐬",
    u"A slow day can still be a good day.",
    u"Focus on the next line, not the whole ocean.",
    u"You can reset the day at any minute.",
    u"One solid sprint beats ten worried plans.",
    u"Keep going. I’m on dolphin lookout.",
    u"Even a rough draft is a win today.",
    u"Small moves add up. I’ve seen it happen.",
    u"Give this your best 10 minutes.",
    u"You’re allowed to learn as you go.",
    u"Pause, stretch, then take the next step.",
    u"I believe in you. Very dolphin-seriously.",
};

// Shown when the pet is tapped.
inline constexpr std::array<std::u16string_view, 5> tapLines{
    u"Boop! What’s the plan?",
    u"You found me 🐬",
    u"Oh hi, captain",
    u"I’m listening!",
    u"Another boop? Bold.",
};

// Shown when the pointer starts hovering over the pet.
inline constexpr std::array<std::u16string_view, 16> nudgeLines{
    u"Hey! That tickles",
    u"Boop detected",
    u"I see that cursor 👀",
    u"Personal space, bestie",
    u"Okay okay, I’m awake",
    u"Catch me if you can",
    u"Was that a drive-by boop?",
    u"Tiny dolphin, huge boundaries",
    u"You rang?",
    u"I was doing important dolphin business",
    u"Cursor acquired",
    u"Bonk received",
    u"Oh—we’re playing now?",
    u"Careful, I boop back",
    u"That was suspiciously gentle",
    u"Hello from down here!",
};

// Shown when the user has dragged the pet to a new spot.
inline constexpr std::array<std::u16string_view, 5> dragLines{
    u"Wheee—new spot!",
    u"Dolphin delivery!",
    u"Okay, I live here now",
    u"Nice view from here",
    u"I’ve been relocated!",
};

// A pep talk other than `avoiding`, chosen uniformly among the rest.
QString nextPepTalk(QStringView avoiding, QRandomGenerator &random = *QRandomGenerator::global());
}

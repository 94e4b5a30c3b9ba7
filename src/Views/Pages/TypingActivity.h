#pragma once

#include <QString>

#include <cstdint>

// The Sounds page's activity figures, from the key and click totals.
namespace TypingActivity {

// "1,234,567 keys" with the locale's grouping.
QString count(std::uint64_t value, const QString &noun);

// Words per minute: keys a minute over five, halves rounded away from zero.
QString wordsPerMinute(int keysPerMinute);

// How far the key count has come towards the pet's next level.
struct LevelProgress {
    int perMille = 0; // of the way from zero to the next threshold
    std::uint64_t remaining = 0;
};
LevelProgress levelProgress(std::uint64_t keys);

// "N keys to Bloopy’s next level. Totals stay on this computer."
QString remainingText(std::uint64_t remaining);

}

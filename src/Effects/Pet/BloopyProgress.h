#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

// The pet's display name and its keystroke levels.
namespace BloopyProgress {
// Trimmed of white space and line breaks, cut to 20 user-perceived characters, "Bloopy" when
// nothing is left.
QString normalizedName(QStringView rawName);
// At most the first 20 user-perceived characters, untrimmed: what a name field may hold
// while it is being edited.
QString truncatedName(QStringView rawName);

// The keystroke count at which the next level begins; 495,000 from level 99 on.
std::uint64_t nextThreshold(std::uint64_t keystrokes);

// The level of a keystroke count, 1...99.
int level(std::uint64_t keystrokes);
}

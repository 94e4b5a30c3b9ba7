#pragma once

#include <QString>

// The desktop pet's body: a round, left-facing dolphin drawn as vectors, at 1x and 2x.
namespace PetImages {
bool generate(const QString &folder);
}

#pragma once

#include "Models/KeyGroup.h"

#include <cstdint>

// The sample group of a Linux evdev key or button code.
namespace KeyClassifier {
KeyGroup group(std::uint16_t keyCode);
KeyGroup mouseGroup(std::uint16_t buttonCode);
// Keys that the statistics leave out.
bool isModifierOrFunction(std::uint16_t keyCode);
}

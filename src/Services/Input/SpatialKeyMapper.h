#pragma once

#include <cstdint>
#include <optional>

// Stereo position of a key from where it sits on a full-size keyboard.
namespace SpatialKeyMapper {
// Centre of the key in key widths from the left edge of a 104/105-key board; none for keys
// that have no fixed place (media and launcher keys).
std::optional<double> column(std::uint16_t keyCode);
// -1 (far left) ... 1 (far right); 0 for keys without a place.
double pan(std::uint16_t keyCode);
}

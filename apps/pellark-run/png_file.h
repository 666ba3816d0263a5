#pragma once

#include <string>

#include "core/machine.h"

namespace pellark {

// The side of the square block that stands for one display pixel in a PNG.
inline constexpr int kPngBlock = 4;

// Writes the display as a greyscale PNG, each pixel a 4 × 4 block, lit white and dark black,
// in place of any earlier file only once it is wholly written. Returns the empty text on
// success, else what went wrong.
std::string WriteDisplayPng(const Machine& machine, const std::string& path);

}  // namespace pellark

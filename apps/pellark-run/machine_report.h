#pragma once

#include <string>

#include "core/machine.h"
#include "pellark-run/run_options.h"
#include "platform/image.h"

namespace pellark {

// The end-of-run views of the machine, as pellark-run prints them.

// "PC=%03X I=%03X SP=%d DT=%d ST=%d V=" and V0 to VF as two-digit hexadecimal values.
std::string StateLine(const Machine& machine);
// XO-CHIP's state beside it: "PLANE=1 PITCH=64 PATTERN=" and the pattern's 32 hexadecimal
// digits.
std::string XoChipStateLine(const Machine& machine);
// The cells' texts separated by single spaces, "_" for an empty cell.
std::string MemoryLine(const Machine& machine, const MemoryRange& range);
// One line per display row, each ending in "\n": "." for a dark pixel, "#" for one lit on the
// first plane, "+" on the second only and "@" on both.
std::string ScreenText(const Machine& machine);

// The side of the square block that stands for one display pixel in --png and --gif.
inline constexpr int kPictureBlock = 4;
// The display in greys, one image pixel per display pixel: black, white when lit on the first
// plane, light grey on the second only and dark grey on both.
Image GreyPicture(const Machine& machine);

}  // namespace pellark

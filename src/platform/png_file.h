#pragma once

#include <string>

#include "platform/image.h"

namespace pellark {

// Writes picture as a PNG, each of its pixels a block × block square of its colour, in place of
// any earlier file only once it is wholly written. Returns the empty text on success, else
// what went wrong.
std::string WritePng(const Image& picture, int block, const std::string& path);

}  // namespace pellark

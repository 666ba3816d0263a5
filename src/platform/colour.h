#pragma once

#include <cstdint>

namespace pellark {

// A colour value 00BBGGRR: red in the low byte, then green, then blue.
using Colour = std::uint32_t;

constexpr Colour RGB(int red, int green, int blue) {
  return static_cast<Colour>(red & 0xFF) | static_cast<Colour>(green & 0xFF) << 8 |
         static_cast<Colour>(blue & 0xFF) << 16;
}

constexpr int RedOf(Colour colour) {
  return static_cast<int>(colour & 0xFF);
}

constexpr int GreenOf(Colour colour) {
  return static_cast<int>(colour >> 8 & 0xFF);
}

constexpr int BlueOf(Colour colour) {
  return static_cast<int>(colour >> 16 & 0xFF);
}

constexpr Colour Black = RGB(0, 0, 0);
constexpr Colour White = RGB(255, 255, 255);

// What a pixel read outside an image gives: every bit set, so its blue component is 255.
constexpr Colour OutsideImage = 0xFFFFFFFFu;

}  // namespace pellark

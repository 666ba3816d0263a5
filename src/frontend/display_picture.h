#pragma once

#include <cstdint>
#include <vector>

#include "core/display_plane.h"
#include "platform/image.h"

namespace pellark {

// The colours the display's pixels show: as designed a lit pixel is White and a dark one
// Black; "Invert Colors" swaps them, and a program the database knows may name its own.
// XO-CHIP's second plane adds a colour for its pixels alone and one for both planes lit.
struct DisplayColours {
  Colour dark = Black;
  Colour lit = White;
  Colour second = RGB(170, 170, 170);
  Colour both = RGB(85, 85, 85);

  constexpr bool operator==(const DisplayColours&) const = default;
  // By pixel value: the first plane's bit plus twice the second's.
  constexpr Colour ForValue(int value) const {
    switch (value) {
      case 1: return lit;
      case 2: return second;
      case 3: return both;
      default: return dark;
    }
  }
};

// Each colour's complement, as "Invert Colors" shows XO-CHIP's four.
constexpr DisplayColours Complemented(const DisplayColours& colours) {
  return {colours.dark ^ 0xFFFFFFu, colours.lit ^ 0xFFFFFFu, colours.second ^ 0xFFFFFFu,
          colours.both ^ 0xFFFFFFu};
}

// The picture of the display that the window shows, one image pixel per display pixel. It is
// painted again only where the display's bits changed since the last picture.
class DisplayPicture {
 public:
  // second is XO-CHIP's second plane, or null where there is none to show.
  const Image& Paint(const DisplayPlane& display, const DisplayPlane* second,
                     const DisplayColours& colours);

 private:
  Image image_;
  // The bits and colours the picture shows.
  std::vector<std::uint8_t> shown_;
  std::vector<std::uint8_t> shownSecond_;
  DisplayColours colours_;
};

}  // namespace pellark

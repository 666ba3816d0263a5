#pragma once

#include <cstdint>
#include <vector>

#include "core/display_plane.h"
#include "platform/image.h"

namespace pellark {

// The colours the display's pixels show: as designed a lit pixel is White and a dark one
// Black; "Invert Colors" swaps them, and a program the database knows may name its own.
struct DisplayColours {
  Colour dark = Black;
  Colour lit = White;

  constexpr bool operator==(const DisplayColours&) const = default;
};

// The picture of the display that the window shows, one image pixel per display pixel. It is
// painted again only where the display's bits changed since the last picture.
class DisplayPicture {
 public:
  const Image& Paint(const DisplayPlane& display, const DisplayColours& colours);

 private:
  Image image_;
  // The bits and colours the picture shows.
  std::vector<std::uint8_t> shown_;
  DisplayColours colours_;
};

}  // namespace pellark

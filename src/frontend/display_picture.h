#pragma once

#include <cstdint>
#include <vector>

#include "core/display_plane.h"
#include "platform/image.h"

namespace pellark {

// The display's colours: a lit pixel is White and a dark one Black, or the other way round
// with "Invert Colors".
inline Colour LitColour(bool inverted) {
  return inverted ? Black : White;
}
inline Colour DarkColour(bool inverted) {
  return inverted ? White : Black;
}

// The picture of the display that the window shows, one image pixel per display pixel. It is
// painted again only where the display's bits changed since the last picture.
class DisplayPicture {
 public:
  const Image& Paint(const DisplayPlane& display, bool inverted);

 private:
  Image image_;
  // The bits and colours the picture shows.
  std::vector<std::uint8_t> shown_;
  bool inverted_ = false;
};

}  // namespace pellark

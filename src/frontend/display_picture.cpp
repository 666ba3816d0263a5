#include "frontend/display_picture.h"

#include <algorithm>

namespace pellark {

const Image& DisplayPicture::Paint(const DisplayPlane& display, bool inverted) {
  const Colour lit = LitColour(inverted);
  const Colour dark = DarkColour(inverted);
  const std::vector<std::uint8_t>& now = display.Pixels();
  if (display.Width() != image_.Width() || display.Height() != image_.Height() ||
      inverted != inverted_) {
    image_.NewImage(display.Width(), display.Height());
    inverted_ = inverted;
    shown_ = now;
    for (int y = 0; y < display.Height(); ++y) {
      for (int x = 0; x < display.Width(); ++x)
        image_.PutPixel(x, y, display.IsLit(x, y) ? lit : dark);
    }
    return image_;
  }
  // Most refreshes follow one sprite: find the rows it changed, then the pixels in them.
  const auto width = static_cast<std::size_t>(display.Width());
  for (std::size_t start = 0; start < now.size(); start += width) {
    if (std::equal(now.begin() + start, now.begin() + start + width, shown_.begin() + start))
      continue;
    for (std::size_t i = start; i < start + width; ++i) {
      if (now[i] == shown_[i]) continue;
      shown_[i] = now[i];
      image_.PutPixel(static_cast<int>(i - start), static_cast<int>(start / width),
                      now[i] != 0 ? lit : dark);
    }
  }
  return image_;
}

}  // namespace pellark

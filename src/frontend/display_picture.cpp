#include "frontend/display_picture.h"

#include <algorithm>

namespace pellark {

const Image& DisplayPicture::Paint(const DisplayPlane& display, bool inverted) {
  const bool everything = display.Width() != shown_.Width() ||
                          display.Height() != shown_.Height() || inverted != inverted_;
  if (everything) image_.NewImage(display.Width(), display.Height());
  inverted_ = inverted;
  const auto width = static_cast<std::size_t>(display.Width());
  const std::uint8_t* now = display.Pixels().data();
  const std::uint8_t* before = shown_.Pixels().data();
  for (int y = 0; y < display.Height(); ++y) {
    const std::size_t start = static_cast<std::size_t>(y) * width;
    if (everything || !std::equal(now + start, now + start + width, before + start))
      PaintRow(display, y);
  }
  shown_ = display;
  return image_;
}

void DisplayPicture::PaintRow(const DisplayPlane& display, int y) {
  const Colour lit = LitColour(inverted_);
  const Colour dark = DarkColour(inverted_);
  for (int x = 0; x < display.Width(); ++x) image_.PutPixel(x, y, display.IsLit(x, y) ? lit : dark);
}

}  // namespace pellark

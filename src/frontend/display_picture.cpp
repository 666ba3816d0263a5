#include "frontend/display_picture.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace pellark {

const Image& DisplayPicture::Paint(const DisplayPlane& display, const DisplayColours& colours) {
  const Colour lit = colours.lit;
  const Colour dark = colours.dark;
  const std::vector<std::uint8_t>& now = display.Pixels();
  if (display.Width() != image_.Width() || display.Height() != image_.Height() ||
      colours != colours_) {
    image_.NewImage(display.Width(), display.Height());
    colours_ = colours;
    shown_ = now;
    for (int y = 0; y < display.Height(); ++y) {
      for (int x = 0; x < display.Width(); ++x)
        image_.PutPixel(x, y, display.IsLit(x, y) ? lit : dark);
    }
    return image_;
  }
  // Most refreshes follow one sprite: find the rows it changed, and in each the span from the
  // first changed pixel to the last.
  const auto width = static_cast<std::ptrdiff_t>(display.Width());
  for (int y = 0; y < display.Height(); ++y) {
    const auto row = now.begin() + y * width;
    const auto shownRow = shown_.begin() + y * width;
    // Most rows are unchanged: a whole-row comparison finds them fastest.
    if (std::memcmp(&*row, &*shownRow, static_cast<std::size_t>(width)) == 0) continue;
    const auto first = std::mismatch(row, row + width, shownRow).first;
    if (first == row + width) continue;
    const auto last =
        std::mismatch(std::make_reverse_iterator(row + width), std::make_reverse_iterator(first),
                      std::make_reverse_iterator(shownRow + width))
            .first.base();
    for (auto pixel = first; pixel != last; ++pixel) {
      const auto x = static_cast<int>(pixel - row);
      image_.PutPixel(x, y, *pixel != 0 ? lit : dark);
    }
    std::copy(first, last, shownRow + (first - row));
  }
  return image_;
}

}  // namespace pellark

#include "frontend/display_picture.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace pellark {

const Image& DisplayPicture::Paint(const DisplayPlane& display, const DisplayPlane* second,
                                   const DisplayColours& colours) {
  static const std::vector<std::uint8_t> kNoPlane;
  const std::vector<std::uint8_t>& now = display.Pixels();
  const std::vector<std::uint8_t>& nowSecond = second != nullptr ? second->Pixels() : kNoPlane;
  const auto width = static_cast<std::ptrdiff_t>(display.Width());
  const auto value = [&](std::ptrdiff_t index) {
    return now[static_cast<std::size_t>(index)] +
           (nowSecond.empty() ? 0 : 2 * nowSecond[static_cast<std::size_t>(index)]);
  };
  const auto paintRow = [&](int y, std::ptrdiff_t from, std::ptrdiff_t to) {
    for (std::ptrdiff_t x = from; x < to; ++x)
      image_.PutPixel(static_cast<int>(x), y, colours.ForValue(value(y * width + x)));
  };
  if (display.Width() != image_.Width() || display.Height() != image_.Height() ||
      colours != colours_ || nowSecond.size() != shownSecond_.size()) {
    image_.NewImage(display.Width(), display.Height());
    colours_ = colours;
    shown_ = now;
    shownSecond_ = nowSecond;
    for (int y = 0; y < display.Height(); ++y) paintRow(y, 0, width);
    return image_;
  }
  // Most refreshes follow one sprite: find the rows it changed, and in each the span from the
  // first changed pixel to the last.
  for (int y = 0; y < display.Height(); ++y) {
    const auto row = now.begin() + y * width;
    const auto shownRow = shown_.begin() + y * width;
    // Most rows are unchanged: a whole-row comparison finds them fastest.
    const bool firstSame = std::memcmp(&*row, &*shownRow, static_cast<std::size_t>(width)) == 0;
    if (!nowSecond.empty()) {
      // Two planes: a row that changed on either is painted whole.
      const auto secondRow = nowSecond.begin() + y * width;
      const auto shownSecondRow = shownSecond_.begin() + y * width;
      if (firstSame &&
          std::memcmp(&*secondRow, &*shownSecondRow, static_cast<std::size_t>(width)) == 0)
        continue;
      paintRow(y, 0, width);
      std::copy(row, row + width, shownRow);
      std::copy(secondRow, secondRow + width, shownSecondRow);
      continue;
    }
    if (firstSame) continue;
    const auto first = std::mismatch(row, row + width, shownRow).first;
    const auto last =
        std::mismatch(std::make_reverse_iterator(row + width), std::make_reverse_iterator(first),
                      std::make_reverse_iterator(shownRow + width))
            .first.base();
    paintRow(y, first - row, last - row);
    std::copy(first, last, shownRow + (first - row));
  }
  return image_;
}

}  // namespace pellark

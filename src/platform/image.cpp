#include "platform/image.h"

#include <algorithm>
#include <cstdint>

namespace pellark {

void Image::NewImage(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<std::size_t>(width_) * height_, Black);
}

void Image::FillBox(int x, int y, int width, int height, Colour colour) {
  const int left = std::max(x, 0);
  const int top = std::max(y, 0);
  const int right = std::min(x + width, width_);
  const int bottom = std::min(y + height, height_);
  if (left >= right) return;
  for (int row = top; row < bottom; ++row) {
    std::fill(pixels_.begin() + Index(left, row), pixels_.begin() + Index(right, row), colour);
  }
}

void Image::BlitImage(const Image& source, int x, int y) {
  const int left = std::max(x, 0);
  const int top = std::max(y, 0);
  const int right = std::min(x + source.width_, width_);
  const int bottom = std::min(y + source.height_, height_);
  if (left >= right) return;
  for (int row = top; row < bottom; ++row) {
    const auto from = source.pixels_.begin() + source.Index(left - x, row - y);
    std::copy(from, from + (right - left), pixels_.begin() + Index(left, row));
  }
}

void Image::BlitImage(const Image& source, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0 || source.width_ == 0 || source.height_ == 0) return;
  const int left = std::max(x, 0);
  const int top = std::max(y, 0);
  const int right = std::min(x + width, width_);
  const int bottom = std::min(y + height, height_);
  for (int row = top; row < bottom; ++row) {
    const int sourceRow =
        static_cast<int>(static_cast<std::int64_t>(row - y) * source.height_ / height);
    for (int column = left; column < right; ++column) {
      const int sourceColumn =
          static_cast<int>(static_cast<std::int64_t>(column - x) * source.width_ / width);
      pixels_[Index(column, row)] = source.pixels_[source.Index(sourceColumn, sourceRow)];
    }
  }
}

void Image::DuplicateImage(const Image& source) {
  if (&source == this) return;
  width_ = source.width_;
  height_ = source.height_;
  pixels_.assign(source.pixels_.begin(), source.pixels_.end());
}

}  // namespace pellark

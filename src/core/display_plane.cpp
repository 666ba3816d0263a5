#include "core/display_plane.h"

#include <algorithm>

namespace pellark {

void DisplayPlane::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  lit_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
}

void DisplayPlane::Clear() {
  std::fill(lit_.begin(), lit_.end(), 0);
}

void DisplayPlane::Scroll(int dx, int dy) {
  std::vector<std::uint8_t> moved(lit_.size(), 0);
  for (int y = std::max(dy, 0); y < std::min(height_, height_ + dy); ++y) {
    for (int x = std::max(dx, 0); x < std::min(width_, width_ + dx); ++x) {
      moved[static_cast<std::size_t>(y * width_ + x)] =
          lit_[static_cast<std::size_t>((y - dy) * width_ + (x - dx))];
    }
  }
  lit_ = std::move(moved);
}

bool DisplayPlane::Assign(int width, int height, std::vector<std::uint8_t> pixels) {
  if (width < 0 || height < 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return false;
  }
  width_ = width;
  height_ = height;
  lit_ = std::move(pixels);
  return true;
}

}  // namespace pellark

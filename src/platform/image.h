#pragma once

#include <vector>

#include "platform/colour.h"

namespace pellark {

// An off-screen picture written and read back one pixel at a time.
class Image {
 public:
  // Recreates the image at the given size with every pixel black. The pixel storage is kept
  // when it is large enough, so clearing and scrolling the display do not allocate.
  void NewImage(int width, int height);
  // Fills the pixels x .. x + width - 1, y .. y + height - 1, clipped to the image; an empty or
  // off-image box fills nothing.
  void FillBox(int x, int y, int width, int height, Colour colour);
  // Sets one pixel; a position outside the image changes nothing.
  void PutPixel(int x, int y, Colour colour) {
    if (Contains(x, y)) pixels_[Index(x, y)] = colour;
  }
  // The pixel's colour; OutsideImage for a position outside the image.
  Colour ReadPixel(int x, int y) const {
    return Contains(x, y) ? pixels_[Index(x, y)] : OutsideImage;
  }
  // Draws source with its top-left corner at (x, y) at natural size; parts outside are dropped.
  void BlitImage(const Image& source, int x, int y);
  // Draws source stretched to width × height at (x, y), every source pixel a solid block
  // (nearest neighbour); parts outside are dropped.
  void BlitImage(const Image& source, int x, int y, int width, int height);
  // Makes this image an independent copy of source.
  void DuplicateImage(const Image& source);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Row-major pixels, Width() × Height() of them.
  const Colour* Pixels() const { return pixels_.data(); }

 private:
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

  int width_ = 0;
  int height_ = 0;
  std::vector<Colour> pixels_;
};

}  // namespace pellark

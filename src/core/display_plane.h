#pragma once

#include <cstdint>
#include <vector>

namespace pellark {

// The machine's display as pixel bits: each pixel lit or dark, row by row. Colours are the
// presentation's business; the machine draws, collides, clears and scrolls on bits alone.
class DisplayPlane {
 public:
  // A new display of width × height, every pixel dark.
  void Resize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Positions outside the display are dark.
  bool IsLit(int x, int y) const {
    return OnDisplay(x, y) && lit_[static_cast<std::size_t>(y * width_ + x)] != 0;
  }
  // Flips a pixel on the display (XOR drawing); true when it was lit, a collision.
  bool Toggle(int x, int y) {
    std::uint8_t& pixel = lit_[static_cast<std::size_t>(y * width_ + x)];
    pixel ^= 1;
    return pixel == 0;
  }
  void Clear();
  // Moves the picture by (dx, dy); pixels moved past an edge are lost and the band uncovered
  // is dark.
  void Scroll(int dx, int dy);

  bool OnDisplay(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // One byte per pixel, 1 for lit, row by row.
  const std::vector<std::uint8_t>& Pixels() const { return lit_; }
  // Takes a picture of width × height as Pixels gives it; false, changing nothing, when the
  // pixels do not fill exactly that size.
  bool Assign(int width, int height, std::vector<std::uint8_t> pixels);

  bool operator==(const DisplayPlane& other) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> lit_;
};

}  // namespace pellark

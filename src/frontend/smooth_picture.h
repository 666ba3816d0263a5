#pragma once

#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace pellark {

// "Smooth": a pixel turned off stays visible, fading towards the dark colour over the next two
// displayed frames, so that sprites erased and redrawn every frame do not flicker. It changes
// only what is shown, never the display's pixels.
class SmoothPicture {
 public:
  // A displayed frame of picture: its lit pixels are at full strength, and those that went
  // dark fade one step further. A picture of another size starts afresh.
  void NextFrame(const Image& picture, Colour dark);
  // picture with the fading pixels over its dark ones.
  const Image& Compose(const Image& picture, Colour dark);
  // Forgets every fading pixel.
  void Clear();

 private:
  // Steps of a pixel just lit: it shows at full strength, then at 2/3 and 1/3 once dark.
  static constexpr std::uint8_t kLit = 3;

  int width_ = 0;
  int height_ = 0;
  // The colour each pixel last had lit, and how many steps of it are left.
  std::vector<Colour> lastLit_;
  std::vector<std::uint8_t> steps_;
  Image shown_;
};

}  // namespace pellark

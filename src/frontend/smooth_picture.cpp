#include "frontend/smooth_picture.h"

namespace pellark {
namespace {

Colour Blend(Colour from, Colour to, int steps, int of) {
  const auto channel = [&](int shift) {
    const int a = static_cast<int>(from >> shift & 0xFF);
    const int b = static_cast<int>(to >> shift & 0xFF);
    return static_cast<Colour>(b + (a - b) * steps / of) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

}  // namespace

void SmoothPicture::NextFrame(const Image& picture, Colour dark) {
  const auto count = static_cast<std::size_t>(picture.Width() * picture.Height());
  if (picture.Width() != width_ || picture.Height() != height_) {
    width_ = picture.Width();
    height_ = picture.Height();
    lastLit_.assign(count, dark);
    steps_.assign(count, 0);
  }
  const Colour* pixels = picture.Pixels();
  for (std::size_t i = 0; i < count; ++i) {
    if (pixels[i] != dark) {
      lastLit_[i] = pixels[i];
      steps_[i] = kLit;
    } else if (steps_[i] > 0) {
      --steps_[i];
    }
  }
}

const Image& SmoothPicture::Compose(const Image& picture, Colour dark) {
  shown_.DuplicateImage(picture);
  if (picture.Width() != width_ || picture.Height() != height_) return shown_;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const auto i = static_cast<std::size_t>(y * width_ + x);
      if (steps_[i] > 0 && picture.ReadPixel(x, y) == dark)
        shown_.PutPixel(x, y, Blend(lastLit_[i], dark, steps_[i], kLit));
    }
  }
  return shown_;
}

void SmoothPicture::Clear() {
  width_ = 0;
  height_ = 0;
  lastLit_.clear();
  steps_.clear();
}

}  // namespace pellark

#include "platform/random.h"

#include <bit>
#include <limits>

namespace pellark {

void RandomGenerator::SeedRandom(std::uint32_t seed) {
  for (auto& word : words_) {
    seed = seed * 0xAC564B05u + 1u;
    word = seed;
  }
  p_ = 0;
  q_ = 10;
  for (int i = 0; i < 31; ++i) Step();
}

RandomGenerator::Output RandomGenerator::Step() {
  const std::uint32_t a = std::rotl(words_[2 * p_], 19) + words_[2 * q_];
  const std::uint32_t b = std::rotl(words_[2 * p_ + 1], 27) + words_[2 * q_ + 1];
  // The two halves are stored crosswise; the sequence depends on it.
  words_[2 * p_] = b;
  words_[2 * p_ + 1] = a;
  p_ = p_ == 0 ? 16 : p_ - 1;
  q_ = q_ == 0 ? 16 : q_ - 1;
  return {a, b};
}

std::int32_t RandomGenerator::RandomUpTo(std::int32_t max) {
  if (max < 0) return std::numeric_limits<std::int32_t>::min();
  const std::uint64_t range = static_cast<std::uint64_t>(max) + 1;
  const Output f = Step();
  // The integer part of (high * 2^32 + low) * range / 2^64, from 64-bit partial products.
  const std::uint64_t highProduct = f.high * range;
  const std::uint64_t lowProduct = f.low * range;
  const std::uint64_t middle = (highProduct & 0xFFFFFFFFu) + (lowProduct >> 32);
  return static_cast<std::int32_t>((highProduct >> 32) + (middle >> 32));
}

}  // namespace pellark

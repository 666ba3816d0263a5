#include "core/sound.h"

#include <cmath>

namespace pellark {
namespace {

// Level (+1 or −1) of bit b, the first byte's most significant bit first.
int BitLevel(const AudioPatternBytes& pattern, int bit) {
  const int byte = pattern[static_cast<std::size_t>(bit / 8)];
  return ((byte >> (7 - bit % 8)) & 1) != 0 ? 1 : -1;
}

// The integral of the level from the pattern's start up to each bit boundary, so that the mean
// over any span of the looped pattern takes two look-ups.
struct PatternIntegral {
  explicit PatternIntegral(const AudioPatternBytes& pattern) {
    for (int bit = 0; bit < kPatternBits; ++bit) {
      level[static_cast<std::size_t>(bit)] = BitLevel(pattern, bit);
      upTo[static_cast<std::size_t>(bit) + 1] =
          upTo[static_cast<std::size_t>(bit)] + level[static_cast<std::size_t>(bit)];
    }
  }
  // From the start to position bits in, on the looped pattern.
  double At(double position) const {
    const double loops = std::floor(position / kPatternBits);
    const double within = position - loops * kPatternBits;
    const auto bit = static_cast<std::size_t>(within);
    if (bit >= kPatternBits) return (loops + 1) * upTo[kPatternBits];
    return loops * upTo[kPatternBits] + upTo[bit] +
           (within - static_cast<double>(bit)) * level[bit];
  }
  std::array<int, kPatternBits> level{};
  std::array<double, kPatternBits + 1> upTo{};
};

}  // namespace

double PatternBitRate(std::int32_t pitch) {
  return 4000.0 * std::exp2((static_cast<double>(pitch) - 64.0) / 48.0);
}

void PlayPattern(const AudioPatternBytes& pattern, std::int32_t pitch, double& position,
                 std::span<std::int16_t, kSoundSamplesPerFrame> samples) {
  const PatternIntegral integral(pattern);
  const double bitsPerSample = PatternBitRate(pitch) / kSoundSampleRate;
  double start = position;
  double below = integral.At(start);
  for (std::int16_t& sample : samples) {
    const double end = start + bitsPerSample;
    const double upTo = integral.At(end);
    sample = static_cast<std::int16_t>(std::lround(kToneLevel * (upTo - below) / bitsPerSample));
    start = end;
    below = upTo;
  }
  position = std::fmod(start, kPatternBits);
}

}  // namespace pellark

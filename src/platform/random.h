#pragma once

#include <array>
#include <cstdint>

namespace pellark {

// The platform's random source: a lagged generator over 34 words, so that a run seeded with 1
// draws the same sequence every time.
class RandomGenerator {
 public:
  void SeedRandom(std::uint32_t seed);
  // An integer from 0 to max inclusive; the most negative integer for a negative max.
  std::int32_t RandomUpTo(std::int32_t max);

  // Where the sequence stands, for snapshots of the machine.
  struct State {
    std::array<std::uint32_t, 34> words{};
    int p = 0;
    int q = 10;
  };
  State GetState() const { return {words_, p_, q_}; }
  void SetState(const State& state) {
    words_ = state.words;
    p_ = state.p;
    q_ = state.q;
  }

 private:
  struct Output {
    std::uint32_t high;
    std::uint32_t low;
  };
  Output Step();

  std::array<std::uint32_t, 34> words_{};
  int p_ = 0;
  int q_ = 10;
};

}  // namespace pellark

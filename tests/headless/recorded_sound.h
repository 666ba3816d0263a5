#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/sound.h"

namespace pellark {

// A sound device that keeps what it is asked to play, for tests to look at.
class RecordedSound final : public SoundService {
 public:
  bool Available() const override { return available; }
  void PlayFrame(std::span<const std::int16_t> samples) override {
    frames.emplace_back(samples.begin(), samples.end());
  }
  void Silence() override { ++silences; }
  std::uint64_t Underruns() const override { return 0; }

  // Whether there is a device; the front end reads it at start-up.
  bool available = true;
  std::vector<std::vector<std::int16_t>> frames;
  int silences = 0;
};

}  // namespace pellark

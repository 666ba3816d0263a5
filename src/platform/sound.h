#pragma once

#include <cstdint>
#include <span>

namespace pellark {

// Plays the machine's sound: frames of 16-bit mono samples at 48 000 Hz, each queued after the
// one before.
class SoundService {
 public:
  virtual ~SoundService() = default;

  // Whether there is a device to play on; without one every call does nothing.
  virtual bool Available() const = 0;
  // Queues one frame of samples behind those queued; what does not fit in the device's buffer
  // is dropped rather than delayed.
  virtual void PlayFrame(std::span<const std::int16_t> samples) = 0;
  // Drops whatever is queued: the sound stops now.
  virtual void Silence() = 0;
  // How many times the device ran out of samples while a tone played.
  virtual std::uint64_t Underruns() const = 0;
};

// No device: the program runs silently.
class NoSound final : public SoundService {
 public:
  bool Available() const override { return false; }
  void PlayFrame(std::span<const std::int16_t> /*samples*/) override {}
  void Silence() override {}
  std::uint64_t Underruns() const override { return 0; }
};

}  // namespace pellark

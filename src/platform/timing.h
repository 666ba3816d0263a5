#pragma once

#include <chrono>
#include <cstdint>

namespace pellark {

// Milliseconds of a monotonic clock, as a 32-bit count that wraps.
std::uint32_t TickMilliseconds();
void SleepMilliseconds(int milliseconds);

// Frames at 60 a second in real time.
class FrameClock {
 public:
  static constexpr std::chrono::nanoseconds kFrame{1'000'000'000 / 60};

  // Sleeps until the next frame is due. A frame already late by a whole frame (a slow
  // machine, a dialog, a stop) starts the count afresh rather than hurrying to catch up.
  void WaitForNextFrame();

 private:
  std::chrono::steady_clock::time_point nextFrame_;
};

}  // namespace pellark

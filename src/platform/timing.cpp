#include "platform/timing.h"

#include <chrono>
#include <thread>

namespace pellark {

std::uint32_t TickMilliseconds() {
  const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void SleepMilliseconds(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void FrameClock::WaitForNextFrame() {
  const auto now = std::chrono::steady_clock::now();
  if (now - nextFrame_ > kFrame) nextFrame_ = now;
  nextFrame_ += kFrame;
  std::this_thread::sleep_until(nextFrame_);
}

}  // namespace pellark

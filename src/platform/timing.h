#pragma once

#include <cstdint>

namespace pellark {

// Milliseconds of a monotonic clock, as a 32-bit count that wraps.
std::uint32_t TickMilliseconds();
void SleepMilliseconds(int milliseconds);

}  // namespace pellark

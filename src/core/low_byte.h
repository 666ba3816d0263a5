#pragma once

#include <cstdint>

namespace pellark {

// Keeps the low 8 bits, as the round trip through a two-character cell text does.
constexpr std::int32_t LowByte(std::int32_t value) {
  return value & 0xFF;
}

}  // namespace pellark

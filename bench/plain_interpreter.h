#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

namespace pellark {

// A plain CHIP-8 interpreter over a byte array, written only to measure the text-held machine
// against: memory as bytes, one switch per instruction, a 64 x 32 display of bytes. It knows
// the instructions the benchmark loops use.
class PlainInterpreter {
 public:
  explicit PlainInterpreter(std::initializer_list<int> program);
  void Step();

 private:
  std::array<std::uint8_t, 4096> memory_{};
  std::array<std::uint8_t, 16> v_{};
  std::array<std::uint8_t, 64 * 32> display_{};
  std::uint16_t pc_ = 0x200;
  std::uint16_t i_ = 0;
};

}  // namespace pellark
